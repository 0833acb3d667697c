// process() as hosts and validators call it: empty calls with null buffers and
// automation with odd values and offsets. Also the tail the plug-in reports.
#include "ParameterTable.h"
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace conformance;

namespace
{
void setParameter(PluginInstance& plugin, const std::string& id, double normalised)
{
    ParameterChanges changes;
    changes.add(plugin.parameterId(id), 0, normalised);
    ASSERT_EQ(plugin.flush(changes), kResultOk);
}

const HostParameter& tableRow(const std::string& id)
{
    for (const auto& p : hostParameters())
        if (p.id == id)
            return p;
    throw std::runtime_error(id);
}
} // namespace

// Validators send empty calls whose buses have null channel pointers, or no
// buses. Blocks of other lengths are covered by the lifecycle and in-process tests.
TEST(Process, TakesEmptyCallsWithNullBuffers)
{
    PluginInstance plugin;
    plugin.start(48000.0, 512);
    Vst::AudioBusBuffers inputs {}, outputs {};
    inputs.numChannels = outputs.numChannels = 2;
    Vst::ProcessData data {};
    data.symbolicSampleSize = Vst::kSample32;
    for (int32 buses : { 1, 0 })
    {
        data.numInputs = data.numOutputs = buses;
        data.inputs = buses > 0 ? &inputs : nullptr;
        data.outputs = buses > 0 ? &outputs : nullptr;
        EXPECT_EQ(plugin.processor->process(data), kResultOk);
    }
    AudioBlock block(2, 512);
    block.fillNoise(1);
    EXPECT_EQ(plugin.process(block), kResultOk);
    EXPECT_TRUE(block.outputIsFinite());
}

// The last point of each queue holds, clamped into the parameter's range. JUCE
// passes a NaN on to the parameter; it then stands for the default. Offsets
// outside the block and unknown IDs do no harm.
TEST(Process, AutomationIsClampedAndNonFiniteValuesTakeTheDefault)
{
    PluginInstance plugin;
    plugin.start(48000.0, 256);
    AudioBlock block(2, 256);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double value : { -0.5, 1.5, 0.0, 1.0, 1e9, -1e9, 0.3, nan })
    {
        ParameterChanges changes;
        for (const auto& p : hostParameters())
        {
            const auto id = plugin.parameterId(p.id);
            changes.add(id, -20, 0.5);
            changes.add(id, 100, 1.0 - value);
            changes.add(id, value == 0.3 ? 5000 : 255, value);
        }
        changes.add(0x7ffffff0, 3, 0.5); // no such parameter
        block.fillNoise(7);
        ASSERT_EQ(plugin.process(block, &changes), kResultOk);
        ASSERT_TRUE(block.outputIsFinite()) << value;

        const auto state = plugin.getState();
        for (const auto& p : hostParameters())
        {
            const double expected = std::isnan(value) ? p.defaultValue : plainValue(p, std::clamp(value, 0.0, 1.0));
            const auto stored = stateValue(state, p.id);
            ASSERT_TRUE(stored.has_value()) << p.id;
            EXPECT_NEAR(*stored, expected, 0.006 + 1e-4 * std::fabs(expected)) << p.id << " at " << value;
        }
    }
}

// The tail the host is told covers the decay the output really has: once it has
// passed after a loud burst, nothing louder than 60 dB below the peak rings on.
// It is not much longer either, and infinite while Freeze holds the sound.
TEST(Tail, CoversTheMeasuredDecayAndIsInfiniteWhileFrozen)
{
    const double rate = 48000.0;
    const int frames = 4096;
    using Setting = std::pair<const char*, double>;
    const Setting settings[][3] = { { { "ReverbTime", 0.2 }, { "PreDelay", 200.0 }, { "RoomSize", 100.0 } },
                                    { { "ReverbTime", 3.2 }, { "PreDelay", 10.0 }, { "RoomSize", 50.0 } },
                                    { { "ReverbTime", 12.0 }, { "PreDelay", 0.0 }, { "RoomSize", 5.0 } } };
    for (const auto& setting : settings)
    {
        SCOPED_TRACE(setting[0].second);
        PluginInstance plugin;
        plugin.start(rate, frames);
        setParameter(plugin, "EffectDryWet", 1.0);
        for (const auto& [id, value] : setting)
            setParameter(plugin, id, normalised(tableRow(id), value));
        setParameter(plugin, "Freeze", 1.0);
        EXPECT_EQ(plugin.processor->getTailSamples(), Vst::kInfiniteTail);
        setParameter(plugin, "Freeze", 0.0);
        const auto tail = plugin.processor->getTailSamples();

        AudioBlock block(2, frames);
        block.fillNoise(9, 1.0f);
        ASSERT_EQ(plugin.process(block), kResultOk);
        block.clearInput();
        std::vector<float> peaks;
        for (uint32 done = 0; done < tail + 2 * rate; done += frames)
        {
            ASSERT_EQ(plugin.process(block), kResultOk);
            peaks.push_back(block.outputPeak());
        }
        const float loudest = *std::max_element(peaks.begin(), peaks.end());
        size_t ringing = peaks.size();
        while (ringing > 0 && peaks[ringing - 1] < loudest * 1e-3f)
            --ringing;
        const double decay = static_cast<double>(ringing * frames);
        EXPECT_GE(tail, decay) << "still ringing after the reported tail";
        EXPECT_LE(tail, 2.0 * decay + rate);
    }
}
