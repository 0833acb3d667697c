// The settings file: its place under the XDG configuration folder and its content.
#include "PluginTestSupport.h"

using namespace zorvik_test;

TEST(SettingsFile, LivesInTheConfigurationFolderAndNamesTheProduct)
{
    ScopedHome home;
    const auto dotConfig = home.folder.getChildFile(".config");
    const auto custom = home.folder.getChildFile("elsewhere");
    // XDG_CONFIG_HOME when it is absolute, else ~/.config.
    const std::pair<juce::String, juce::File> cases[] = { { dotConfig.getFullPathName(), dotConfig },
                                                          { custom.getFullPathName(), custom },
                                                          { "relative/path", dotConfig },
                                                          { {}, dotConfig } };
    for (const auto& [config, base] : cases)
    {
        SCOPED_TRACE(config.toStdString());
        if (config.isEmpty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", config.toRawUTF8(), 1);
        const auto expected = base.getChildFile("ZORVIK/ZORVIK Reverb/ZORVIK Reverb.settings");
        {
            ReverbProcessor first, second; // two instances share the file
            EXPECT_EQ(first.settings->getFile(), expected);
        }
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
        EXPECT_EQ(juce::PropertiesFile(expected, options).getValue("appName"), "ZORVIK Reverb");
    }
    EXPECT_FALSE(home.folder.getChildFile("ZORVIK").exists()) << "nothing in the home folder itself";
}
