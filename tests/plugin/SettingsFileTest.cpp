// The settings file: its place under the XDG configuration folder and its content.
#include "PluginTestSupport.h"

using namespace zorvik_test;

namespace
{
juce::String storedAppName(const juce::File& file)
{
    juce::PropertiesFile::Options options;
    options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
    juce::PropertiesFile settings(file, options);
    return settings.getValue("appName");
}
} // namespace

TEST(SettingsFile, LivesInTheConfigurationFolderAndNamesTheProduct)
{
    ScopedHome home;
    const auto expected = home.folder.getChildFile(".config/ZORVIK/ZORVIK Reverb/ZORVIK Reverb.settings");
    {
        ReverbProcessor processor;
        EXPECT_EQ(processor.settings->getFile(), expected);
    }
    ASSERT_TRUE(expected.existsAsFile());
    EXPECT_EQ(storedAppName(expected), "ZORVIK Reverb");
    EXPECT_FALSE(home.folder.getChildFile("ZORVIK").exists()) << "nothing in the home folder itself";
}

TEST(SettingsFile, FollowsXdgConfigHomeAndFallsBackToDotConfig)
{
    ScopedHome home;
    const auto custom = home.folder.getChildFile("elsewhere");
    setenv("XDG_CONFIG_HOME", custom.getFullPathName().toRawUTF8(), 1);
    {
        ReverbProcessor first;
        ReverbProcessor second; // two instances share the file
    }
    EXPECT_EQ(storedAppName(custom.getChildFile("ZORVIK/ZORVIK Reverb/ZORVIK Reverb.settings")), "ZORVIK Reverb");

    setenv("XDG_CONFIG_HOME", "relative/path", 1);
    EXPECT_EQ(EffectProcessor::getSettingsFile(),
              home.folder.getChildFile(".config/ZORVIK/ZORVIK Reverb/ZORVIK Reverb.settings"));
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(EffectProcessor::getSettingsFile(),
              home.folder.getChildFile(".config/ZORVIK/ZORVIK Reverb/ZORVIK Reverb.settings"));
}

TEST(SettingsFile, AnUnwritableFolderDoesNotStopThePlugIn)
{
    ScopedHome home;
    // A file where the configuration folder should be: nothing can be created below it.
    const auto blocker = home.folder.getChildFile(".config");
    ASSERT_TRUE(blocker.replaceWithText("not a folder"));
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 64);
    juce::AudioBuffer<float> buffer(2, 64);
    buffer.clear();
    process(processor, buffer);
    EXPECT_TRUE(allFinite(buffer));
}
