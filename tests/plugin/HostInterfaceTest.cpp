// What the processor tells a host about itself, in-process (the bundle's answers are
// checked through the raw interfaces in tests/conformance), and what it takes from
// the host's play head.
#include "PluginTestSupport.h"
#include "TextValueProcessor.h"

using namespace zorvik_test;

namespace
{
// A play head that reports the position it is given, or none.
class FixedPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override { return position; }
    juce::Optional<PositionInfo> position;
};
} // namespace

TEST(HostInterface, TheHostIsToldTheProductNoMidiAndOneProgramItCannotChange)
{
    ScopedHome home;
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 512);
    EXPECT_EQ(processor.getName(), "ZORVIK Reverb");
    EXPECT_FALSE(processor.acceptsMidi());
    EXPECT_FALSE(processor.producesMidi());
    EXPECT_FALSE(processor.isMidiEffect());
    // The framework's processor reports no tail; the reverb reports the decay it has
    // (measured through the bundle).
    EXPECT_EQ(TextValueProcessor().getTailLengthSeconds(), 0.0);
    EXPECT_GT(processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ(processor.getNumPrograms(), 1);
    EXPECT_EQ(processor.getCurrentProgram(), 0);

    // Presets are the processor's own: a host that switches or renames its one
    // program changes neither the sound nor the preset it is named after.
    ASSERT_TRUE(processor.setPreset("HALL", true));
    setPlainValue(processor, "RoomSize", 12.0f);
    const auto before = saveState(processor);
    processor.setCurrentProgram(3);
    processor.changeProgramName(0, "Renamed");
    EXPECT_EQ(processor.getCurrentProgram(), 0);
    EXPECT_EQ(processor.getProgramName(0), "HALL");
    EXPECT_EQ(saveState(processor), before);

    // The two switches are on/off parameters to the host, every other one continuous.
    for (auto* parameter : processor.getParameters())
    {
        const auto& ranged = dynamic_cast<juce::RangedAudioParameter&>(*parameter);
        const auto id = ranged.getParameterID();
        const bool isSwitch = id == "Freeze" || id == "InputFilterType";
        EXPECT_EQ(ranged.isBoolean(), isSwitch) << id;
        EXPECT_EQ(ranged.getNumSteps() == 2, isSwitch) << id;
    }
}

// Tempo, time signature, position, play state and loop reach the kernel with each
// block; a block whose play head reports nothing, or that has none, keeps them.
TEST(HostInterface, ThePlayHeadsPositionReachesTheKernelWithEachBlock)
{
    ScopedHome home;
    ReverbProcessor processor;
    processor.prepareToPlay(48000.0, 256);
    juce::AudioPlayHead::PositionInfo info;
    info.setBpm(96.0);
    info.setTimeSignature(juce::AudioPlayHead::TimeSignature { 7, 8 });
    info.setPpqPosition(13.5);
    info.setIsPlaying(true);
    info.setTimeInSamples(96000);
    info.setLoopPoints(juce::AudioPlayHead::LoopPoints { 4.0, 12.0 });
    FixedPlayHead head;
    head.position = info;

    const auto& context = processor.kernel->musicalContext;
    const auto& transport = processor.kernel->transportState;
    juce::AudioBuffer<float> buffer(2, 256);
    for (const int step : { 0, 1, 2 })
    {
        SCOPED_TRACE(step);
        if (step == 0)
            processor.setPlayHead(&head);
        else if (step == 1)
            head.position = {};
        else
            processor.setPlayHead(nullptr);
        buffer.clear();
        process(processor, buffer);
        EXPECT_EQ(context.tempo, 96.0);
        EXPECT_EQ(context.timeSignatureNumerator, 7.0);
        EXPECT_EQ(context.timeSignatureDenominator, 8);
        EXPECT_EQ(context.positionInQuarterNotes, 13.5);
        EXPECT_TRUE(transport.playing);
        EXPECT_EQ(transport.positionInSamples, 96000.0);
        EXPECT_EQ(transport.loopStart, 4.0);
        EXPECT_EQ(transport.loopEnd, 12.0);
    }
}

// Calls the framework's wrapper never makes, made anyway: a block before the first
// preparation, a rate that is no number, an empty block, and a block with fewer
// channels than were prepared pass without processing anything they cannot.
TEST(HostInterface, OddBlocksNeitherFailNorTouchWhatTheyCannotProcess)
{
    ScopedHome home;
    ReverbProcessor processor;
    juce::AudioBuffer<float> stereo(2, 256);
    fillNoise(stereo, 5);
    const juce::AudioBuffer<float> input(stereo);
    process(processor, stereo); // not prepared yet
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(stereo.getSample(c, i), input.getSample(c, i));

    processor.prepareToPlay(std::numeric_limits<double>::quiet_NaN(), 256);
    juce::AudioBuffer<float> empty(2, 0);
    process(processor, empty);
    juce::AudioBuffer<float> mono(1, 256);
    fillNoise(mono, 6);
    const juce::AudioBuffer<float> monoInput(mono);
    process(processor, mono);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(mono.getSample(0, i), monoInput.getSample(0, i));

    setPlainValue(processor, "EffectDryWet", 100.0f);
    for (int block = 0; block < 8; ++block)
    {
        fillNoise(stereo, block);
        process(processor, stereo);
        ASSERT_TRUE(allFinite(stereo));
    }
    EXPECT_GT(stereo.getMagnitude(0, 256), 0.0f) << "a rate that is no number runs as a usual one";
}
