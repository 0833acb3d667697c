#pragma once

#include "Common/Parameters/Parameter.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace UiTest
{
    // Paints the component itself (not its children) into a small image, whatever its size.
    inline void paintDirect(juce::Component& component)
    {
        juce::Image image(juce::Image::ARGB, 4, 4, true);
        juce::Graphics g(image);
        component.paint(g);
    }

    // A processor whose parameter state holds plain float parameters, with a parameter
    // record for each, for the views whose parameters the reverb does not have.
    class ViewTestProcessor : public juce::AudioProcessor
    {
    public:
        struct Spec
        {
            std::string name;
            float minimum;
            float maximum;
            float defaultValue;
        };

        explicit ViewTestProcessor(const std::vector<Spec>& specs)
            : records(makeRecords(specs)), state(*this, nullptr, "Parameters", layout(specs))
        {
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
        juce::RangedAudioParameter& host(const std::string& name) { return *state.getParameter(name); }
        float plain(const std::string& name)
        {
            auto& p = host(name);
            return p.convertFrom0to1(p.getValue());
        }
        void setPlain(const std::string& name, float value)
        {
            auto& p = host(name);
            p.setValueNotifyingHost(p.convertTo0to1(value));
        }

        const juce::String getName() const override { return "ViewTest"; }
        void prepareToPlay(double, int) override {}
        void releaseResources() override {}
        using AudioProcessor::processBlock;
        void processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        double getTailLengthSeconds() const override { return 0.0; }
        bool acceptsMidi() const override { return false; }
        bool producesMidi() const override { return false; }
        juce::AudioProcessorEditor* createEditor() override { return nullptr; }
        bool hasEditor() const override { return false; }
        int getNumPrograms() override { return 1; }
        int getCurrentProgram() override { return 0; }
        void setCurrentProgram(int) override {}
        const juce::String getProgramName(int) override { return "Default"; }
        void changeProgramName(int, const juce::String&) override {}
        void getStateInformation(juce::MemoryBlock&) override {}
        void setStateInformation(const void*, int) override {}

    private:
        static std::vector<std::unique_ptr<Parameter>> makeRecords(const std::vector<Spec>& specs)
        {
            std::vector<std::unique_ptr<Parameter>> list;
            for (size_t i = 0; i < specs.size(); ++i)
            {
                auto p = std::make_unique<Parameter>();
                p->identifier = static_cast<std::int32_t>(i);
                p->name = specs[i].name;
                p->minimum = specs[i].minimum;
                p->maximum = specs[i].maximum;
                p->defaultValue = specs[i].defaultValue;
                list.push_back(std::move(p));
            }
            return list;
        }

        static juce::AudioProcessorValueTreeState::ParameterLayout layout(const std::vector<Spec>& specs)
        {
            juce::AudioProcessorValueTreeState::ParameterLayout l;
            for (const auto& s : specs)
                l.add(std::make_unique<juce::AudioParameterFloat>(juce::ParameterID { s.name, 1 }, s.name,
                                                                  juce::NormalisableRange<float>(s.minimum, s.maximum),
                                                                  s.defaultValue));
            return l;
        }

        std::vector<std::unique_ptr<Parameter>> records;

    public:
        juce::AudioProcessorValueTreeState state;
    };
}
