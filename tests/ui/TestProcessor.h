#pragma once

#include "Common/Parameters/Parameter.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <string>
#include <vector>

namespace UiTest
{
    // A processor whose parameter state holds plain linear floats (or bools), with a
    // matching Parameter record for each, for controls bound to parameters the reverb
    // does not have.
    class TestProcessor : public juce::AudioProcessor
    {
    public:
        struct Spec
        {
            std::string name;
            float minimum;
            float maximum;
            float defaultValue;
            bool isBool = false;
        };

        explicit TestProcessor(const std::vector<Spec>& specs) : parameters(*this, nullptr, "Parameters", layout(specs))
        {
            for (const auto& s : specs)
            {
                auto& r = *records.emplace_back(std::make_unique<Parameter>());
                r.identifier = static_cast<std::int32_t>(records.size() - 1);
                r.name = s.name;
                r.minimum = s.minimum;
                r.maximum = s.maximum;
                r.defaultValue = s.defaultValue;
                r.unit = s.isBool ? ParameterUnit::boolean : ParameterUnit::number;
            }
        }

        Parameter* record(const std::string& name)
        {
            for (auto& r : records)
                if (r->name == name)
                    return r.get();
            throw std::runtime_error("no record " + name);
        }
        std::vector<Parameter*> allRecords()
        {
            std::vector<Parameter*> list;
            for (auto& r : records)
                list.push_back(r.get());
            return list;
        }
        float plain(const std::string& name)
        {
            auto* p = parameters.getParameter(name);
            return p->convertFrom0to1(p->getValue());
        }
        void set(const std::string& name, float value)
        {
            auto* p = parameters.getParameter(name);
            p->setValueNotifyingHost(p->convertTo0to1(value));
        }

        const juce::String getName() const override { return "TestProcessor"; }
        void prepareToPlay(double, int) override {}
        void releaseResources() override {}
        void processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        using juce::AudioProcessor::processBlock;
        double getTailLengthSeconds() const override { return 0.0; }
        bool acceptsMidi() const override { return false; }
        bool producesMidi() const override { return false; }
        juce::AudioProcessorEditor* createEditor() override { return nullptr; }
        bool hasEditor() const override { return false; }
        int getNumPrograms() override { return 1; }
        int getCurrentProgram() override { return 0; }
        void setCurrentProgram(int) override {}
        const juce::String getProgramName(int) override { return {}; }
        void changeProgramName(int, const juce::String&) override {}
        void getStateInformation(juce::MemoryBlock&) override {}
        void setStateInformation(const void*, int) override {}

        std::vector<std::unique_ptr<Parameter>> records;
        juce::AudioProcessorValueTreeState parameters;

    private:
        static juce::AudioProcessorValueTreeState::ParameterLayout layout(const std::vector<Spec>& specs)
        {
            juce::AudioProcessorValueTreeState::ParameterLayout result;
            for (const auto& s : specs)
            {
                const juce::ParameterID id { s.name, 1 };
                if (s.isBool)
                    result.add(std::make_unique<juce::AudioParameterBool>(id, s.name, s.defaultValue != 0.0f));
                else
                    result.add(std::make_unique<juce::AudioParameterFloat>(
                        id, s.name, juce::NormalisableRange<float>(s.minimum, s.maximum), s.defaultValue));
            }
            return result;
        }
    };

    // A curve sequencer's links: sixteen step values from 0 to maxValue, then sixteen
    // step modes from 0 to maxMode.
    inline std::vector<TestProcessor::Spec> sequencerSteps(float maxValue, float maxMode)
    {
        std::vector<TestProcessor::Spec> specs;
        for (int i = 0; i < 16; ++i)
            specs.push_back({ "Step" + std::to_string(i), 0, maxValue, 0.5f });
        for (int i = 0; i < 16; ++i)
            specs.push_back({ "Curve" + std::to_string(i), 0, maxMode, 0 });
        return specs;
    }
}
