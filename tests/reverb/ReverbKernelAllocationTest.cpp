#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every allocation of this test binary passes through here; the count is taken
// only while the flag is set, around the kernel's process calls.
namespace
{
    std::atomic<bool> counting{false};
    std::atomic<long> allocations{0};

    void* allocate(std::size_t size)
    {
        if (counting.load(std::memory_order_relaxed))
            allocations.fetch_add(1, std::memory_order_relaxed);
        if (void* memory = std::malloc(size == 0 ? 1 : size))
            return memory;
        throw std::bad_alloc();
    }
}

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

TEST(ReverbKernel, ProcessNeverAllocates)
{
    using P = ZorvikReverbParameterList;
    for (const int hostChannels : {1, 2})
    {
        ReverbKernelHarness engine(48000.0, hostChannels);
        ReverbKernelHarness::Signal in = makeNoise(hostChannels, 20000, 0.5f);
        ReverbKernelHarness::Signal out = in;
        const unsigned long sizes[] = {1, 7, 64, 100, 4096, 8192, 333};
        unsigned long position = 0;
        allocations = 0;
        counting = true;
        for (const unsigned long n : sizes)
        {
            // Changes arrive between blocks, as host automation does.
            engine.kernel.setParameter(P::RoomSize, static_cast<float>(n % 100));
            engine.kernel.setParameter(P::FreqShifterDryWet, 60.0f);
            engine.kernel.setParameter(P::Freeze, n == 100 ? 1.0f : 0.0f);
            engine.processBlock(in, out, position, n);
            position += n;
        }
        counting = false;
        EXPECT_EQ(allocations.load(), 0) << hostChannels << " host channel(s)";
    }
}
