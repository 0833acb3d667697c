#include "EditorTestSupport.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// The window in a real X server: the test starts its own Xvfb, names the window
// manager's atoms on it (JUCE expects a window manager to have made them), and
// runs the window part in a child process of this test binary on that display.
using namespace UiTest;

namespace
{
    const char* childVariable = "ZORVIK_WINDOW_TEST_CHILD";

    // The window manager atoms JUCE uses on its windows.
    const char* windowManagerAtoms =
        "WM_PROTOCOLS,WM_TAKE_FOCUS,WM_DELETE_WINDOW,_NET_WM_PING,WM_CHANGE_STATE,WM_STATE,"
        "_NET_WM_WINDOW_TYPE,_NET_WM_STATE,_NET_WM_STATE_HIDDEN,_NET_WM_WINDOW_TYPE_NORMAL,"
        "_NET_WM_WINDOW_TYPE_COMBO,_NET_WM_ALLOWED_ACTIONS,_NET_WM_ACTION_MOVE,_NET_WM_ACTION_CLOSE,"
        "_MOTIF_WM_HINTS,_NET_FRAME_EXTENTS,_NET_WM_NAME,_NET_WM_ICON,_NET_WM_PID,UTF8_STRING,XdndAware";

    // A private X server; display is -1 when none could be started. It never takes
    // the default display :0, which JUCE programs without DISPLAY (the other tests,
    // running at the same time) would connect to and lose when it stops.
    struct VirtualDisplay
    {
        VirtualDisplay()
        {
            if (access("/usr/bin/Xvfb", X_OK) != 0)
                return;
            const int first = 100 + static_cast<int>(getpid() % 800);
            for (int attempt = 0; attempt < 10 && display < 0; ++attempt)
                start(first + attempt);
        }

        void start(int number)
        {
            int fds[2];
            if (pipe(fds) != 0)
                return;
            const auto name = ":" + std::to_string(number);
            pid = fork();
            if (pid == 0)
            {
                close(fds[0]);
                const auto fd = std::to_string(fds[1]);
                execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp",
                      "-screen", "0", "1024x768x24", static_cast<char*>(nullptr));
                _exit(127);
            }
            close(fds[1]);
            // Xvfb writes its display number once it accepts clients; EOF if it failed.
            std::string text;
            char c = 0;
            while (read(fds[0], &c, 1) == 1 && c != '\n')
                text += c;
            close(fds[0]);
            if (!text.empty())
            {
                display = std::atoi(text.c_str());
                return;
            }
            if (pid > 0)
                waitpid(pid, nullptr, 0);
            pid = -1;
        }

        ~VirtualDisplay()
        {
            if (pid > 0)
            {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
        }

        std::string name() const { return ":" + std::to_string(display); }

        pid_t pid = -1;
        int display = -1;
    };

    int run(const std::string& command)
    {
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
}

TEST(EditorWindow, OpensAndClosesInARealWindow)
{
    if (std::getenv(childVariable) != nullptr)
        GTEST_SKIP() << "runs in the parent only";
    VirtualDisplay display;
    if (display.display < 0)
        GTEST_SKIP() << "no X server could be started";
    const auto env = "DISPLAY=" + display.name() + " ";
    // Setting an atom-valued property interns its value: one atom per call.
    const auto atoms = juce::StringArray::fromTokens(windowManagerAtoms, ",", "");
    for (const auto& atom : atoms)
        if (run(env + "xprop -root -f _ZORVIK_WM_ATOM 32a -set _ZORVIK_WM_ATOM " + atom.toStdString()) != 0)
            GTEST_SKIP() << "xprop could not prepare the display";

    const auto self = juce::File::getSpecialLocation(juce::File::currentExecutableFile).getFullPathName();
    const auto command = env + childVariable + "=1 \"" + self.toStdString()
                         + "\" --gtest_filter=EditorWindowChild.* > /dev/null 2>&1";
    EXPECT_EQ(run(command), 0);
}

// Runs only in the child started above, on its display.
TEST(EditorWindowChild, ShowsTheEditorOnTheDesktop)
{
    if (std::getenv(childVariable) == nullptr)
        GTEST_SKIP() << "runs in a child process on a virtual display";
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 512);
    for (int i = 0; i < 3; ++i)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditorIfNeeded());
        ASSERT_NE(editor, nullptr);
        editor->addToDesktop(juce::ComponentPeer::windowHasTitleBar);
        editor->setVisible(true);
        ASSERT_NE(editor->getPeer(), nullptr);
        EXPECT_TRUE(editor->isShowing());
        EXPECT_EQ(editor->getPeer()->getBounds().getWidth(), 692);
        EXPECT_EQ(editor->getPeer()->getBounds().getHeight(), 330);
        setPlain(processor, "RoomSize", 20.0f + static_cast<float>(i));
        juce::MessageManager::getInstance()->runDispatchLoopUntil(100);
        dynamic_cast<Editor&>(*editor).timerCallback();
        editor->removeFromDesktop();
    }
}
