#include "Basics/Editor.h"
#include "UI/PluginHeader.h"
#include "UI/VersionHelper.h"
#include "UiTestSupport.h"

#include <thread>

// The header: navigation, overlays; the update
// check's reply parsing and its background request (local files and a local server
// only: no test reaches the network).
using namespace UiTest;

namespace
{
    struct RecordingHeaderDelegate : PluginHeaderDelegate
    {
        void onPresetTypeSelected(int type) override { calls.add("type " + juce::String(type)); }
        void onPresetDirectorySelected(int d) override { calls.add("directory " + juce::String(d)); }
        void onPresetSelected(int index) override { calls.add("preset " + juce::String(index)); }
        void previousPreset() override { calls.add("previous"); }
        void nextPreset() override { calls.add("next"); }
        void savePreset(Preset* preset) override { calls.add("save " + preset->name); }
        void savePresetAs(juce::String name) override { calls.add("save as " + name); }
        void deletePreset(Preset* preset) override { calls.add("delete " + preset->name); }
        juce::StringArray calls;
    };

    juce::Image image(int size, juce::Colour colour)
    {
        juce::Image picture(juce::Image::RGB, size, size, true);
        juce::Graphics(picture).fillAll(colour);
        return picture;
    }

    struct HeaderTest : ProcessorTest
    {
        HeaderTest()
        {
            header.processor = &processor;
            header.setBounds(0, 0, 692, 30);
        }
        void choose(const juce::String& name)
        {
            ASSERT_TRUE(processor.setPreset(name, true));
            header.selectPreset(processor.currentPresetIndex);
        }

        RecordingHeaderDelegate delegate;
        PluginHeader header { image(28, Zorvik::green), image(72, Zorvik::orange), image(28, Zorvik::red), false,
                              "zrvkreverb", juce::URL() };
    };

    // Runs the message loop until the condition holds (or a generous bound is reached).
    template <typename Condition>
    bool pumpUntil(Condition condition, int rounds = 1000)
    {
        for (int i = 0; i < rounds && !condition(); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil(10);
        return condition();
    }

    // A local HTTP server that accepts one request and answers only when told to.
    struct HeldServer
    {
        HeldServer()
        {
            if (!listener.createListener(0, "127.0.0.1"))
                throw std::runtime_error("no local socket");
            thread = std::thread([this] {
                std::unique_ptr<juce::StreamingSocket> client(listener.waitForNextConnection());
                connected.signal();
                release.wait(-1);
                if (client != nullptr && reply.isNotEmpty())
                {
                    const auto response = "HTTP/1.1 " + status + "\r\nContent-Length: " + juce::String(reply.length())
                                          + "\r\nConnection: close\r\n\r\n" + reply;
                    client->write(response.toRawUTF8(), static_cast<int>(response.getNumBytesAsUTF8()));
                }
            });
        }
        ~HeldServer()
        {
            release.signal();
            listener.close();
            thread.join();
        }
        juce::URL url() const
        {
            return juce::URL("http://127.0.0.1:" + juce::String(listener.getBoundPort()) + "/LICENSES/version.php")
                .withParameter("product_identifier", "zrvkreverb");
        }
        juce::StreamingSocket listener;
        juce::WaitableEvent connected, release;
        juce::String status = "200 OK";
        juce::String reply;
        std::thread thread;
    };
}

TEST(VersionReplies, OnlyANewerDottedVersionCounts)
{
    const struct { const char* reply; bool newer; } cases[] = {
        { "1.2.0\n", false }, { " 1.2.1\r\n", true }, { "1.10.0", true }, { "2", true }, { "1.1.99", false },
        { "1.2.0-beta", false }, { "1.2.1-rc1", true }, { "", false }, { "<html><body>2.0.0</body></html>", false },
        { "404 Not Found", false }, { "99999999999", false }, { "1.2.0.7", false }, { "\xff\xfe\x01", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionHelper::replyNamesNewerVersion(c.reply, "1.2.0"), c.newer) << '"' << c.reply << '"';

    int parts[3] = { 7, 7, 7 };
    VersionHelper::parse(parts, "1");
    EXPECT_EQ(parts[0] * 100 + parts[1] * 10 + parts[2], 100);
    EXPECT_TRUE(VersionHelper::lessThanVersion("1.2", "1.2.1"));
    EXPECT_FALSE(VersionHelper::lessThanVersion("1.2.1", "1.2"));
}

TEST(UpdateRequest, TheAnswerArrivesOnTheMessageThreadFromALocalFile)
{
    const auto file = juce::File::createTempFile("version");
    file.replaceWithText("9.9.9\n");
    int answers = 0;
    bool newer = false;
    {
        UpdateCheck check(juce::URL(file), "1.2.0", [&](bool n) {
            EXPECT_TRUE(juce::MessageManager::getInstance()->isThisTheMessageThread());
            ++answers;
            newer = n;
        });
        EXPECT_TRUE(pumpUntil([&] { return answers > 0; }));
    }
    EXPECT_EQ(answers, 1);
    EXPECT_TRUE(newer);
    file.deleteFile();

    const auto endpoint = UpdateCheck::endpointFor("zrvkreverb");
    EXPECT_TRUE(endpoint.getDomain().endsWith(".invalid"));
}

TEST_F(HeaderTest, OpeningTheHeaderNeverWaitsForTheEndpoint)
{
    HeldServer server;
    server.reply = "1.3.0";
    {
        // The server holds its answer back: a blocking check would never return from here.
        PluginHeader waiting(image(28, Zorvik::green), image(72, Zorvik::orange), image(28, Zorvik::red), false,
                             "zrvkreverb", server.url());
        EXPECT_FALSE(waiting.newVersionButton->isVisible());
        server.release.signal();
        EXPECT_TRUE(pumpUntil([&] { return waiting.newVersionButton->isVisible(); }));
    }

    // Closed while the request waits for its answer: the request is cancelled and
    // nothing arrives.
    HeldServer silent;
    int answers = 0;
    {
        UpdateCheck check(silent.url(), "1.2.0", [&](bool) { ++answers; });
        silent.connected.wait(-1);
    }
    silent.release.signal();
    pumpUntil([] { return false; }, 20);
    EXPECT_EQ(answers, 0);
}

TEST(UpdateRequest, AFailedOrUnreadableReplyNamesNoNewVersion)
{
    const auto missing = juce::File::createTempFile("version");
    const auto notText = juce::File::createTempFile("version");
    notText.replaceWithData("9.9.9\xff", 6);
    HeldServer refused;
    refused.status = "404 Not Found";
    refused.reply = "9.9.9";
    refused.release.signal();
    for (const auto& endpoint : { juce::URL(missing), juce::URL(notText), refused.url() })
    {
        int answers = 0;
        bool newer = true;
        UpdateCheck check(endpoint, "1.2.0", [&](bool n) {
            ++answers;
            newer = n;
        });
        EXPECT_TRUE(pumpUntil([&] { return answers > 0; })) << endpoint.toString(false);
        EXPECT_FALSE(newer) << endpoint.toString(false);
    }
    notText.deleteFile();

    // Without the variable the maker's endpoint is asked; a value that is not UTF-8
    // asks nothing.
    unsetenv(UpdateCheck::endpointVariable);
    const auto maker = UpdateCheck::endpointInUse("zrvkreverb");
    setenv(UpdateCheck::endpointVariable, "http://127.0.0.1:9/\xff", 1);
    const auto garbled = UpdateCheck::endpointInUse("zrvkreverb");
    setenv(UpdateCheck::endpointVariable, "", 1);
    EXPECT_EQ(maker.toString(true), UpdateCheck::endpointFor("zrvkreverb").toString(true));
    EXPECT_EQ(maker.getSubPath(), "LICENSES/version.php");
    EXPECT_EQ(maker.getParameterValues()[maker.getParameterNames().indexOf("product_identifier")], "zrvkreverb");
    EXPECT_TRUE(garbled.isEmpty());
}

TEST_F(HeaderTest, NavigationAndPresetRequestsReachTheDelegateOnlyOnceSet)
{
    header.previousButton->onClick();
    header.nextButton->onClick();
    header.onSavePreset();
    header.onSavePresetAs("X");
    EXPECT_EQ(header.presetName, "DEFAULT");

    header.setDelegate(&delegate);
    header.previousButton->onClick();
    header.nextButton->onClick();
    header.onSavePreset();  // no current preset: saved under the shown name
    header.onPresetSelected(3);
    choose("Hall");
    header.onSavePreset();
    header.onDeletePreset();  // a factory preset has no file to delete
    header.onSavePresetAs("My Hall");
    EXPECT_EQ(header.presetName, "My Hall");
    header.onSavePresetAs("../../etc/passwd");
    EXPECT_EQ(delegate.calls.joinIntoString(", "),
              "previous, next, save as DEFAULT, preset 3, save HALL, save as My Hall");
}

TEST_F(HeaderTest, EditorsAskTheUpdateEndpointTheEnvironmentNames)
{
    EXPECT_TRUE(UpdateCheck::endpointInUse("zrvkreverb").isEmpty());

    HeldServer server;
    server.reply = "9.9.9";
    server.release.signal();
    setenv(UpdateCheck::endpointVariable, server.url().toString(false).toRawUTF8(), 1);
    bool noticeShown = false;
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditor());
        auto& notice = *dynamic_cast<Editor&>(*editor).design->header->newVersionButton;
        noticeShown = pumpUntil([&] { return notice.isVisible(); });
    }
    // Changed back only once the request has ended: the request reads the environment too.
    setenv(UpdateCheck::endpointVariable, "", 1);
    EXPECT_TRUE(noticeShown);
}

TEST_F(HeaderTest, TheLogoTitleAndPresetNameOpenAtMostOneOverlay)
{
    auto& about = *header.aboutOverlay;
    auto& browser = *header.presetBrowser;
    const struct { juce::Button* click; bool aboutShown, browserShown; } steps[] = {
        { header.titleButton.get(), true, false },     { header.presetNameButton.get(), false, true },
        { header.logoButton.get(), true, false },      { header.logoButton.get(), false, false },
        { header.presetNameButton.get(), false, true }, { header.presetNameButton.get(), false, false },
    };
    for (const auto& step : steps)
    {
        step.click->onClick();
        EXPECT_EQ(about.isVisible(), step.aboutShown) << step.click->getButtonText();
        EXPECT_EQ(browser.isVisible(), step.browserShown) << step.click->getButtonText();
    }
}

TEST_F(HeaderTest, DirectoryChoicesPassThroughAndTheEditorIgnoresThem)
{
    header.onPresetDirectorySelected(2);
    header.setDelegate(&delegate);
    // The header's browser keeps its directory list hidden: a selection there is not reported.
    header.selectDirectory(1);
    EXPECT_EQ(header.presetBrowser->directoryList.getSelectedRow(), 1);
    header.onPresetDirectorySelected(2);
    header.setPresets(processor.presetLists[1]);
    header.updatePresetsContent();
    EXPECT_EQ(header.presetBrowser->presetModel.getNumRows(), static_cast<int>(processor.presetLists[1].size()));
    EXPECT_EQ(delegate.calls.joinIntoString(", "), "directory 2");

    std::unique_ptr<juce::AudioProcessorEditor> window(processor.createEditor());
    auto& editor = dynamic_cast<Editor&>(*window);
    editor.setPreset(juce::String("HALL"));
    const auto* current = processor.currentPreset;
    const int type = processor.currentPresetType;
    editor.design->header->onPresetDirectorySelected(3);
    editor.onPresetDirectorySelected(0);
    EXPECT_EQ(processor.currentPreset, current);
    EXPECT_EQ(processor.currentPresetType, type);
    EXPECT_EQ(editor.design->header->getShownPresetName(), "HALL");
}

TEST_F(HeaderTest, LogosSitUnscaledAndTheNoticeIsRed)
{
    header.newVersionButton->setVisible(true);
    choose("Hall");
    EXPECT_EQ(header.titleButton->getButtonText(), "ZORVIK Reverb  v1.2.0");
    EXPECT_EQ(header.presetNameButton->getButtonText(), "HALL");
    const auto picture = render(header, "header", juce::Colours::black);
    // The small logo fills its 26-pixel button (one pixel clipped on each side); the
    // maker's logo button takes the logo's 28 pixels and reaches the bottom edge.
    for (const auto at : { juce::Point<int>(2, 2), juce::Point<int>(14, 14), juce::Point<int>(27, 27) })
        EXPECT_TRUE(near(picture.getPixelAt(at.x, at.y), Zorvik::green)) << at.toString();
    EXPECT_FALSE(near(picture.getPixelAt(1, 14), Zorvik::green, 40));
    for (const auto at : { juce::Point<int>(660, 2), juce::Point<int>(674, 16), juce::Point<int>(687, 29) })
        EXPECT_TRUE(near(picture.getPixelAt(at.x, at.y), Zorvik::red)) << at.toString();
    EXPECT_TRUE(near(picture.getPixelAt(446, 6), Zorvik::red));
}
