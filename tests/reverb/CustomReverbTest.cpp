#include "CustomReverb.h"

#include "dsp/TestSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
    constexpr unsigned long slice = 64;
    constexpr double pi = 3.14159265358979323846;

    // Amplitude of the component at frequency f over the last `length` samples
    // (Goertzel, rectangular window).
    double amplitudeAt(const std::vector<float>& x, std::size_t length, double f, double sampleRate)
    {
        const double coefficient = 2.0 * std::cos(2.0 * pi * f / sampleRate);
        double s1 = 0.0, s2 = 0.0;
        for (std::size_t i = x.size() - length; i < x.size(); ++i)
        {
            const double s0 = x[i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        return 2.0 * std::sqrt(std::max(s1 * s1 + s2 * s2 - coefficient * s1 * s2, 0.0)) / double(length);
    }

    // Runs the write path over x slice by slice, as the kernel does.
    std::vector<float> shiftAll(CustomReverb& reverb, unsigned long line, std::vector<float> x,
                                float shiftHz, float mixPercent)
    {
        const std::vector<float> mix(slice, mixPercent);
        for (std::size_t o = 0; o < x.size(); o += slice)
        {
            reverb.setShiftFrequency(shiftHz);
            reverb.setShiftMix(mix.data(), slice);
            reverb.shiftAndDrive(line, x.data() + o, slice);
        }
        return x;
    }
}

TEST(CustomReverb, PositiveShiftMovesASineUpAndNegativeDown)
{
    // A quiet sine passes the drive as 2 tanh(0.81 x): a pure tone at f + shift.
    const double f = 1000.0;
    const double expected = 2.0 * std::tanh(0.81 * 0.01);
    for (double rate : {22050.0, 48000.0})
        for (float shiftHz : {100.0f, -100.0f, 37.0f})
        {
            CustomReverb reverb;
            reverb.init(2, rate);
            auto quiet = TestSignals::sine(f / rate, 64 * 1024);
            for (float& v : quiet)
                v *= 0.01f;
            const auto out = shiftAll(reverb, 2, quiet, shiftHz, 100.0f);
            // One second holds whole cycles of every frequency measured.
            const auto length = static_cast<std::size_t>(rate);
            EXPECT_NEAR(amplitudeAt(out, length, f + shiftHz, rate), expected, 0.02 * expected) << rate << " " << shiftHz;
            EXPECT_LT(amplitudeAt(out, length, f - shiftHz, rate), 0.02 * expected);
            EXPECT_LT(amplitudeAt(out, length, f, rate), 0.02 * expected);
        }
}

TEST(CustomReverb, DriveAndBlendsFollowTheMix)
{
    // A constant input passes the all-pass pair unchanged once it has settled,
    // and with no shift path A alone is heard.
    const double c = 0.5;
    auto drive = [](double mix, double v) { return 2.0 * std::tanh((mix / 100.0 * 0.31 + 0.5) * v); };
    const double cases[][2] = {
        {0.0, c},
        {25.0, 0.75 * c + 0.25 * drive(25.0, c + std::pow(0.5, 1.5) * c)},
        {50.0, 0.5 * c + 0.5 * drive(50.0, 2.0 * c)},
        {75.0, 0.25 * c + 0.75 * drive(75.0, std::pow(0.5, 1.5) * c + c)},
        {100.0, drive(100.0, c)},
    };
    for (const auto& k : cases)
    {
        CustomReverb reverb;
        reverb.init(2, 44100.0);
        const auto out = shiftAll(reverb, 0, std::vector<float>(8192, float(c)), 0.0f, float(k[0]));
        EXPECT_NEAR(out.back(), k[1], 1e-4) << k[0];
    }
}

// The four lines written together, their all-pass sections side by side, store
// exactly what writing one line after another stores, with and without shift mix.
TEST(CustomReverb, LinesWrittenTogetherStoreWhatLinesWrittenInTurnStore)
{
    CustomReverb inTurn, together;
    for (CustomReverb* reverb : {&inTurn, &together})
        reverb->init(2, 44100.0);
    std::vector<float> mix(slice);
    for (int k = 0; k < 300; ++k)
    {
        const float shift = k < 150 ? 37.0f : -45.0f;
        for (unsigned long j = 0; j < slice; ++j)
            mix[j] = k % 3 == 0 ? 0.0f : float((k * 7 + int(j)) % 101);
        std::array<std::vector<float>, 4> a, b;
        std::array<float*, 4> buffers{};
        for (unsigned long line = 0; line < 4; ++line)
        {
            a[line] = b[line] = TestSignals::noise(slice, unsigned(k * 4 + line + 1));
            buffers[line] = b[line].data();
        }
        for (CustomReverb* reverb : {&inTurn, &together})
        {
            reverb->setShiftFrequency(shift);
            reverb->setShiftMix(mix.data(), slice);
        }
        for (unsigned long line = 0; line < 4; ++line)
            inTurn.processWriteDelayLine(line, a[line].data(), slice);
        together.processWriteDelayLines(buffers, slice);
    }
    for (unsigned long line = 0; line < 4; ++line)
    {
        const DelayWrite& one = inTurn.entry(line).line->getWrite(0);
        const DelayWrite& other = static_cast<const CustomReverb&>(together).entry(line).line->getWrite(0);
        ASSERT_EQ(one.getWriteIndex(), other.getWriteIndex());
        EXPECT_TRUE(std::equal(one.data(), one.data() + one.getSize(), other.data())) << line;
        EXPECT_EQ(inTurn.getFrequencyShifter().phases[line], together.getFrequencyShifter().phases[line]);
    }
}

TEST(CustomReverb, NonFiniteValuesAndUnknownLinesAreSafe)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    CustomReverb reverb;
    reverb.init(2, 48000.0);
    std::vector<float> bad(9000, nan);
    bad[3] = std::numeric_limits<float>::infinity();
    bad[4] = 1e30f;
    const std::vector<float> mix(9000, 100.0f), badMix(slice, nan);
    reverb.setShiftFrequency(nan);
    EXPECT_EQ(reverb.getShiftFrequency(), 0.0f);
    for (const float* m : {mix.data(), badMix.data(), static_cast<const float*>(nullptr)})
    {
        reverb.setShiftFrequency(std::numeric_limits<float>::infinity());
        reverb.setShiftMix(m, slice);
        reverb.processWriteDelayLine(0, bad.data(), slice);
    }
    // Calls longer than a slice or for lines that do not exist.
    reverb.setShiftMix(mix.data(), 9000);
    reverb.shiftAndDrive(1, bad.data(), bad.size());
    reverb.shiftAndDrive(4, bad.data(), bad.size());
    reverb.processWriteDelayLine(9, bad.data(), slice);
    const DelayWrite& stored = reverb.entry(0).line->getWrite(0);
    EXPECT_TRUE(std::all_of(stored.data(), stored.data() + stored.getSize(), [](float v) { return v == 0.0f; }));

    // Afterwards a sine is shifted as if nothing had happened.
    auto quiet = TestSignals::sine(1000.0 / 48000.0, 64 * 1000);
    for (float& v : quiet)
        v *= 0.01f;
    const auto out = shiftAll(reverb, 0, quiet, 100.0f, 100.0f);
    const double expected = 2.0 * std::tanh(0.81 * 0.01);
    EXPECT_NEAR(amplitudeAt(out, 48000, 1100.0, 48000.0), expected, 0.02 * expected);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return std::isfinite(v); }));
}
