#pragma once

#include "Common/FilterDSPKernel.h"
#include "support/ProcessorAccess.h"
#include "UI/Controls/UIContainer.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace UiTest
{
    // The reverb's parameter record with that name, or null.
    inline Parameter* parameterNamed(ReverbProcessor& processor, const std::string& name)
    {
        for (auto* p : *processor.kernel->parameterList)
            if (p->name == name)
                return p;
        return nullptr;
    }

    using zorvik_test::hostParameter;
    using zorvik_test::plainValue;
    using zorvik_test::setPlainValue;

    inline juce::MouseEvent mouseEvent(juce::Component& component, juce::Point<float> position,
                                       juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
    {
        const auto now = juce::Time::getCurrentTime();
        return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                                juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &component,
                                &component, now, position, now, 1, false);
    }

    inline juce::MouseEvent rightClick(juce::Component& component, juce::Point<float> position)
    {
        return mouseEvent(component, position, juce::ModifierKeys::rightButtonModifier);
    }

    // Paints the component into an ARGB image on a background colour and saves it as
    // a PNG in the build folder for people to look at.
    inline juce::Image render(juce::Component& component, const std::string& pngName,
                              juce::Colour background = juce::Colour(29, 29, 29))
    {
        juce::Image image(juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
        {
            juce::Graphics g(image);
            g.fillAll(background);
            component.paintEntireComponent(g, true);
        }
        const auto folder = juce::File(ZORVIK_TEST_OUTPUT_DIR).getChildFile("ui");
        folder.createDirectory();
        auto file = folder.getChildFile(pngName + ".png");
        file.deleteFile();
        juce::FileOutputStream stream(file);
        juce::PNGImageFormat().writeImageToStream(image, stream);
        return image;
    }

    inline bool near(juce::Colour a, juce::Colour b, int tolerance = 3)
    {
        return std::abs(a.getRed() - b.getRed()) <= tolerance && std::abs(a.getGreen() - b.getGreen()) <= tolerance
               && std::abs(a.getBlue() - b.getBlue()) <= tolerance;
    }

    struct RecordingDelegate : UIContainerDelegate
    {
        void onRightClickOnControl(std::vector<ControlParameter> parameters) override { calls.push_back(parameters); }
        std::vector<std::vector<ControlParameter>> calls;
    };

    // Every test builds the real processor; one per test keeps them independent.
    struct ProcessorTest : ::testing::Test
    {
        ReverbProcessor processor;
        Parameter* parameter(const std::string& name) { return parameterNamed(processor, name); }
    };
}
