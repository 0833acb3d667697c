// Audio routing in-process: block splitting, mono, automation reaching the engine
// and the audio thread's allocations. Layouts a host may ask for are checked
// through the bundle in tests/conformance.
#include "PluginTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

using namespace zorvik_test;

// Counts heap allocations made by the thread that enabled counting.
namespace
{
thread_local bool countingAllocations = false;
std::atomic<int> allocations { 0 };
} // namespace

void* operator new(std::size_t size)
{
    if (countingAllocations)
        ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace
{
class Processing : public ::testing::Test
{
protected:
    juce::AudioBuffer<float> render(ReverbProcessor& processor, int totalFrames, int blockSize, int channels = 2)
    {
        juce::AudioBuffer<float> input(channels, totalFrames);
        fillNoise(input, 42);
        for (int c = 0; c < channels; ++c)
            input.applyGainRamp(c, totalFrames / 2, totalFrames / 2, 1.0f, 0.0f);
        juce::AudioBuffer<float> output(input);
        for (int start = 0; start < totalFrames; start += blockSize)
        {
            const int n = std::min(blockSize, totalFrames - start);
            juce::AudioBuffer<float> block(output.getArrayOfWritePointers(), channels, start, n);
            process(processor, block);
        }
        return output;
    }

    static double energy(const juce::AudioBuffer<float>& buffer, int from, int to)
    {
        double sum = 0.0;
        for (int c = 0; c < buffer.getNumChannels(); ++c)
            for (int i = from; i < to; ++i)
                sum += static_cast<double>(buffer.getSample(c, i)) * buffer.getSample(c, i);
        return sum;
    }

    ScopedHome home;
};
} // namespace

TEST_F(Processing, LongBlocksAreSplitAndGiveTheSameOutputAsShortOnes)
{
    ReverbProcessor whole, pieces, odd, single;
    for (auto* p : { &whole, &pieces, &odd, &single })
    {
        p->setPreset("HALL", true);
        p->prepareToPlay(48000.0, 8192);
    }
    // One call of 8192 frames is two of 4096.
    const auto a = render(whole, 16384, 8192);
    const auto b = render(pieces, 16384, 4096);
    ASSERT_TRUE(allFinite(a));
    EXPECT_GT(energy(a, 8192, 16384), 0.0);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 16384; ++i)
            ASSERT_EQ(a.getSample(c, i), b.getSample(c, i)) << c << " " << i;

    // Other lengths slice differently but sound the same.
    const auto d = render(odd, 16384, 4097);
    ASSERT_TRUE(allFinite(d));
    EXPECT_NEAR(energy(d, 8192, 16384), energy(a, 8192, 16384), 1e-3 * energy(a, 8192, 16384));
    const auto tiny = render(single, 300, 1);
    EXPECT_TRUE(allFinite(tiny));
}

TEST_F(Processing, AnEmptyBlockAndABlockBeforePrepareDoNothing)
{
    ReverbProcessor processor;
    juce::AudioBuffer<float> buffer(2, 32);
    fillNoise(buffer, 1);
    juce::AudioBuffer<float> input(buffer);
    process(processor, buffer); // not prepared yet
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(buffer.getSample(1, i), input.getSample(1, i));

    processor.prepareToPlay(44100.0, 512);
    juce::AudioBuffer<float> empty(2, 0), noChannels(0, 64);
    process(processor, empty);
    process(processor, noChannels);
}

TEST_F(Processing, MonoRunsThroughTheStereoEngine)
{
    ReverbProcessor processor;
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add(juce::AudioChannelSet::mono());
    mono.outputBuses.add(juce::AudioChannelSet::mono());
    ASSERT_TRUE(processor.setBusesLayout(mono));
    processor.prepareToPlay(44100.0, 512);

    const auto output = render(processor, 44100, 512, 1);
    ASSERT_TRUE(allFinite(output));
    EXPECT_GT(energy(output, 30000, 44100), 0.0) << "the tail goes on after the input stops";

    // At 0 % wet mono is an exact identity.
    setPlainValue(processor, "EffectDryWet", 0.0f);
    render(processor, 44100, 512, 1); // let the ramp finish
    expectDryPassThrough(processor, 1);
}

TEST_F(Processing, NoAllocationOnTheAudioThread)
{
    ReverbProcessor processor;
    processor.setPreset("VIBRANT TAILS", true);
    processor.prepareToPlay(48000.0, 8192);
    juce::AudioBuffer<float> buffer(2, 8192);
    fillNoise(buffer, 9);
    process(processor, buffer); // the first block may size what it needs

    juce::MidiBuffer midi;
    const juce::String reverbTime("ReverbTime");
    allocations = 0;
    countingAllocations = true;
    for (int size : { 1, 64, 100, 4096, 4097, 8192 })
    {
        juce::AudioBuffer<float> block(buffer.getArrayOfWritePointers(), 2, 0, size);
        processor.processBlock(block, midi);
        processor.parameterChanged(reverbTime, 5.0f); // automation on the audio thread
    }
    countingAllocations = false;
    EXPECT_EQ(allocations.load(), 0);
}

TEST_F(Processing, AutomationReachesTheKernelAsPlainValuesClampedAndFinite)
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
