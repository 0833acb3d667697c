// Audio routing in-process: block splitting, automation reaching the engine and
// the audio thread's allocations. Layouts, empty calls and calls before activation
// are checked through the bundle in tests/conformance.
#include "PluginTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

using namespace zorvik_test;

// Every form of operator new and delete is replaced, so that memory is always
// taken and given back by the same pair; allocations by the thread that enabled
// counting are counted.
namespace
{
thread_local bool countingAllocations = false;
std::atomic<int> allocations { 0 };

void* allocate(std::size_t size, std::size_t alignment = 0) noexcept
{
    if (countingAllocations)
        ++allocations;
    size = size == 0 ? 1 : size;
    if (alignment <= alignof(std::max_align_t))
        return std::malloc(size);
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* allocateOrThrow(std::size_t size, std::size_t alignment = 0)
{
    if (void* p = allocate(size, alignment))
        return p;
    throw std::bad_alloc();
}
} // namespace

using std::align_val_t;
using std::nothrow_t;
void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, align_val_t a) { return allocateOrThrow(size, std::size_t(a)); }
void* operator new[](std::size_t size, align_val_t a) { return allocateOrThrow(size, std::size_t(a)); }
void* operator new(std::size_t size, const nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const nothrow_t&) noexcept { return allocate(size); }
void* operator new(std::size_t size, align_val_t a, const nothrow_t&) noexcept { return allocate(size, std::size_t(a)); }
void* operator new[](std::size_t size, align_val_t a, const nothrow_t&) noexcept { return allocate(size, std::size_t(a)); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, align_val_t, const nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, align_val_t, const nothrow_t&) noexcept { std::free(p); }

namespace
{
juce::AudioBuffer<float> render(ReverbProcessor& processor, int totalFrames, int blockSize)
{
    juce::AudioBuffer<float> output(2, totalFrames);
    fillNoise(output, 42);
    for (int c = 0; c < 2; ++c)
        output.applyGainRamp(c, totalFrames / 2, totalFrames / 2, 1.0f, 0.0f);
    for (int start = 0; start < totalFrames; start += blockSize)
    {
        juce::AudioBuffer<float> block(output.getArrayOfWritePointers(), 2, start, std::min(blockSize, totalFrames - start));
        process(processor, block);
    }
    return output;
}
} // namespace

TEST(Processing, OneLongBlockSoundsLikeItsPieces)
{
    ReverbProcessor whole, pieces;
    for (auto* p : { &whole, &pieces })
    {
        p->setPreset("HALL", true);
        p->prepareToPlay(48000.0, 8192);
    }
    const auto a = render(whole, 16384, 8192);
    const auto b = render(pieces, 16384, 4096);
    ASSERT_TRUE(allFinite(a));
    EXPECT_GT(a.getMagnitude(8192, 8192), 0.0f);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 16384; ++i)
            ASSERT_EQ(a.getSample(c, i), b.getSample(c, i)) << c << " " << i;
}

// Blocks of every length in mono and stereo, with automation and Freeze switched
// between them as hosts do on the audio thread.
TEST(Processing, NoAllocationOnTheAudioThread)
{
    for (const auto& layout : { juce::AudioChannelSet::stereo(), juce::AudioChannelSet::mono() })
    {
        ReverbProcessor processor;
        juce::AudioProcessor::BusesLayout buses;
        buses.inputBuses.add(layout);
        buses.outputBuses.add(layout);
        ASSERT_TRUE(processor.setBusesLayout(buses));
        processor.setPreset("VIBRANT TAILS", true);
        processor.prepareToPlay(48000.0, 8192);
        const int channels = layout.size();
        juce::AudioBuffer<float> buffer(channels, 8192);
        fillNoise(buffer, 9);
        process(processor, buffer); // the first block may size what it needs

        juce::MidiBuffer midi;
        const juce::String reverbTime("ReverbTime"), freeze("Freeze"), shifter("FreqShifterDryWet");
        allocations = 0;
        countingAllocations = true;
        for (int size : { 1, 64, 100, 4096, 4097, 8192, 333 })
        {
            juce::AudioBuffer<float> block(buffer.getArrayOfWritePointers(), channels, 0, size);
            processor.processBlock(block, midi);
            processor.parameterChanged(reverbTime, static_cast<float>(size % 30));
            processor.parameterChanged(freeze, size == 100 ? 1.0f : 0.0f);
            processor.parameterChanged(shifter, 60.0f);
        }
        countingAllocations = false;
        EXPECT_EQ(allocations.load(), 0) << channels << " channel(s)";
    }
}

TEST(Processing, AutomationReachesTheKernelAsPlainValuesClampedAndFinite)
{
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 512);
    setPlainValue(processor, "InputFilterFrequency", 1000.0f);
    EXPECT_NEAR(processor.kernel->getParameter(3), 1000.0f, 0.5f);
    processor.parameterChanged("RoomSize", std::numeric_limits<float>::quiet_NaN());
    processor.parameterChanged("ReverbTime", std::numeric_limits<float>::infinity());
    processor.parameterChanged("PreDelay", 5000.0f);
    processor.parameterChanged("NoSuchParameter", 1.0f);
    juce::AudioBuffer<float> buffer(2, 2048);
    fillNoise(buffer, 11);
    process(processor, buffer);
    EXPECT_FLOAT_EQ(processor.kernel->getParameter(5), 50.0f);
    EXPECT_FLOAT_EQ(processor.kernel->getParameter(8), 3.2f);
    EXPECT_FLOAT_EQ(processor.kernel->getParameter(4), 200.0f);
    EXPECT_TRUE(allFinite(buffer));
}
