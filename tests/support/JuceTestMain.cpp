// Test main for binaries that use JUCE: the GUI initialiser gives a message
// manager, fonts and images without a display; the tests run in a temporary home.
#include "support/TemporaryHome.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const TemporaryHome home;
    const juce::ScopedJuceInitialiser_GUI juce;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
