#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <PlatformTesting.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheMessageHandler.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/TheVideoSystem.h"
#include "EngineTestGame.h"
#include "TestSupport.h"

namespace {

// Checks that each expected text appears in the log, in this order.
void ExpectInOrder(const std::string& log, const std::vector<std::string>& expected)
{
    size_t at = 0;
    for (const std::string& text : expected) {
        const size_t found = log.find(text, at);
        ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << text << "\nlog:\n" << log;
        at = found + text.size();
    }
}

class Application : public EngineTest {};
class ApplicationDeathTest : public EngineTest {};

}  // namespace

TEST_F(Application, StartupAndShutdownLogEveryLineInOrder)
{
    theApplication.SetCommandLine("");
    const std::string start = CaptureDebugOutput([] { EXPECT_TRUE(theApplication.Startup()); });
    ExpectInOrder(start,
                  {
                      "CONSOLE (pre-initialization!): ::: Initialization : Application (starting)\n",
                      "CONSOLE (pre-initialization!): ::: Initialization : Console (starting)\n",
                      "CONSOLE: ::: Initialization : Console (finished)\n",
                      "CONSOLE: ::: Initialization : Input System (starting)\n",
                      "CONSOLE: ::: Initialization : Input System (finished)\n",
                      "CONSOLE: ::: Initialization : Message Handler (starting)\n",
                      "CONSOLE: ::: Initialization : Message Handler (finished)\n",
                      "CONSOLE: ::: Initialization : Video System (starting)\n",
                      "CONSOLE: VideoSystem : found ",
                      " display mode(s) \n",
                      "CONSOLE: VideoSystem : Setting current display mode #3: 640 x 480 x 32 bpp (windowed)\n",
                      "CONSOLE: VideoSystem : Creating a rendering window for mode: 640 x 480 x 32 bpp (windowed)\n",
                      "CONSOLE: GDI Plaque : Choosing a pixel format...\n",
                      "CONSOLE: GDI Plaque : Setting the pixel format...\n",
                      "CONSOLE: GDI Plaque : Creating a rendering context...\n",
                      "CONSOLE: GDI Plaque : Making rendering context current...\n",
                      "CONSOLE: VideoSystem : Successfully created a rendering window.\n",
                      "CONSOLE: ::: Initialization : Video System (finished)\n",
                      "CONSOLE: ::: Initialization : Sound (starting)\n",
                      "CONSOLE: ::: Initialization : Sound (finished)\n",
                      "CONSOLE: ::: Initialization : Renderer (starting)\n",
                      "CONSOLE: ::: Initialization : Renderer (finished)\n",
                      "CONSOLE: ::: Initialization : Application (finished)\n",
                  });
    EXPECT_EQ(theTestGame.calls, (std::vector<std::string>{"ProcessCommandLine", "PreInit", "PostInit"}));
    EXPECT_EQ(theTestGame.commandLine, "");
    EXPECT_TRUE(TheApplication::IsInitialized());
    EXPECT_NE(TheVideoSystem::GetHWnd(), nullptr);
    EXPECT_STREQ(TheApplication::GetName(), "Engine Test");

    theApplication.RequestShutdown();
    const std::string stop = CaptureDebugOutput([] { theApplication.RunFrame(); });
    ExpectInOrder(stop, {
                            "CONSOLE: ::: _Shutdown : Application (starting)\n",
                            "CONSOLE: ::: Shutdown : Renderer (starting)\n",
                            "CONSOLE: ::: Shutdown : Renderer (finished)\n",
                            "CONSOLE: ::: Shutdown : Sound (starting)\n",
                            "CONSOLE: ::: Shutdown : Sound (finished)\n",
                            "CONSOLE: ::: Shutdown : Video System (starting)\n",
                            "CONSOLE: ::: Shutdown : Video System (finished)\n",
                            "CONSOLE: ::: Shutdown : Message Handler (starting)\n",
                            "CONSOLE: ::: Shutdown : Message Handler (finished)\n",
                            "CONSOLE: ::: Shutdown : Input System (starting)\n",
                            "CONSOLE: ::: Shutdown : Input System (finished)\n",
                            "CONSOLE: ::: Shutdown : Console (starting)\n",
                            "CONSOLE (pre-initialization!): ::: Shutdown : Console (finished)\n",
                            "CONSOLE (pre-initialization!): ::: _Shutdown : Application (finished)\n",
                        });
    EXPECT_EQ(theTestGame.calls.back(), "PreShutdown");
    EXPECT_FALSE(TheApplication::IsInitialized());
    EXPECT_FALSE(TheConsole::IsInitialized());
    EXPECT_FALSE(TheVideoSystem::IsInitialized());
    EXPECT_FALSE(TheSoundSystem::IsInitialized());
    EXPECT_FALSE(TheRenderer::IsInitialized());
    EXPECT_TRUE(theApplication.IsShuttingDown());
    EXPECT_EQ(theApplication.GetFrameNumber(), 1);  // the shutdown frame is counted
}

TEST_F(Application, ShutdownRequestedInPreInitStartsNothing)
{
    theTestGame.stopInPreInit = true;
    theApplication.SetCommandLine("-window -x 3");
    bool started = true;
    const std::string log = CaptureDebugOutput([&] { started = theApplication.Startup(); });
    EXPECT_FALSE(started);
    EXPECT_EQ(log, "CONSOLE (pre-initialization!): ::: Initialization : Application (starting)\n");
    EXPECT_EQ(theTestGame.calls, (std::vector<std::string>{"ProcessCommandLine", "PreInit"}));
    EXPECT_EQ(theTestGame.commandLine, "-window -x 3");
    EXPECT_FALSE(TheApplication::IsInitialized());
    EXPECT_FALSE(TheConsole::IsInitialized());
    EXPECT_FALSE(TheInputSystem::IsInitialized());
    EXPECT_FALSE(TheMessageHandler::IsInitialized());
    EXPECT_FALSE(TheVideoSystem::IsInitialized());
}

TEST_F(Application, WinMainReturnsZeroWhenTheGameStopsInPreInit)
{
    theTestGame.stopInPreInit = true;
    char commandLine[] = "";
    int result = -1;
    CaptureDebugOutput([&] { result = WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(theTestGame.commandLine, "");
}

TEST_F(Application, QuitMessageEndsTheLoopAfterOneWholeFrame)
{
    StartEngineForTest();
    const int framesBefore = theApplication.GetFrameNumber();
    PostQuitMessage(0);
    CaptureDebugOutput([] { theApplication.RunMainLoop(); });
    EXPECT_EQ(theTestGame.framesRun, 1);
    EXPECT_EQ(theApplication.GetFrameNumber(), framesBefore + 1);
    EXPECT_TRUE(theApplication.IsShuttingDown());
    EXPECT_FALSE(TheVideoSystem::IsInitialized());
}

TEST_F(Application, CloseRequestEndsTheLoopAfterOneWholeFrame)
{
    StartEngineForTest();
    PostMessageA(TheVideoSystem::GetHWnd(), WM_CLOSE, 0, 0);
    CaptureDebugOutput([] { theApplication.RunMainLoop(); });
    EXPECT_EQ(theTestGame.framesRun, 1);
    EXPECT_EQ(theApplication.GetFrameNumber(), 1);
    EXPECT_FALSE(TheVideoSystem::IsInitialized());
}

TEST_F(Application, FrameSecondsAreClampedAndTheRateSmoothed)
{
    StartEngineForTest();
    PlatformSetFixedStepForTesting(1.0);  // a one-second stall
    theApplication.RunFrame();
    theApplication.RunFrame();
    EXPECT_DOUBLE_EQ(theApplication.GetFrameSeconds(), 0.1);

    PlatformSetFixedStepForTesting(0.0002);
    theApplication.RunFrame();  // measures the previous frame's step
    theApplication.RunFrame();
    EXPECT_DOUBLE_EQ(theApplication.GetFrameSeconds(), 0.001);

    PlatformSetFixedStepForTesting(0.01);
    theApplication.RunFrame();
    // From here on every frame is 10 ms apart: the estimate moves a tenth of the way to 100.
    float expected = theApplication.GetFramesPerSecond();
    for (int i = 0; i < 20; ++i) {
        theApplication.RunFrame();
        EXPECT_NEAR(theApplication.GetFrameSeconds(), 0.01, 1e-9);
        expected = static_cast<float>(100.0 * static_cast<double>(0.1f) + expected * static_cast<double>(0.9f));
        EXPECT_FLOAT_EQ(theApplication.GetFramesPerSecond(), expected);
    }
    StopEngineForTest();
}

TEST_F(Application, CurrentSecondsAdvanceWithTheClock)
{
    StartEngineForTest();
    PlatformSetFixedStepForTesting(0.02);
    theApplication.RunFrame();
    const double first = theApplication.GetCurrentSeconds();
    theApplication.RunFrame();
    EXPECT_NEAR(theApplication.GetCurrentSeconds() - first, 0.02, 1e-9);
    StopEngineForTest();
}

TEST_F(ApplicationDeathTest, StartingTwiceIsFatal)
{
    EXPECT_EXIT(
        {
            theApplication.Startup();
            theApplication.Startup();
        },
        testing::ExitedWithCode(1),
        "Expression was: \\( !_isInitialized \\)\n\n   TheApplication was initialized twice; either a second "
        "TheApplication was started or Startup\\(\\) was called on an already-running system\\.");
}

// Leaving the process with everything started: the singletons are destroyed in the
// reverse order of their definition, so the renderer is the first to find itself still
// running. Its report (titled with the application's name, which outlives them all) runs the
// orderly shutdown, and the process ends with 1, not 0.
TEST_F(ApplicationDeathTest, DestroyedWhileRunningIsFatal)
{
    EXPECT_EXIT(
        {
            theApplication.Startup();
            exit(0);
        },
        testing::ExitedWithCode(1),
        "Expression was: \\( !_isInitialized \\)\n\n   TheRenderer was destroyed while running; Shutdown\\(\\) should "
        "be called first!(.|\n)*MessageBoxA caption: Engine Test : Program Error(.|\n)*"
        "::: Shutdown : Console \\(finished\\)");
}

TEST_F(ApplicationDeathTest, SecondGameInterfaceIsFatal)
{
    EXPECT_EXIT({ EngineTestGame second; }, testing::ExitedWithCode(1),
                "Expression was: \\( !_isConstructed \\)\n\n   TheGameInterfaceAbstract was already constructed once - "
                "cannot have multiple instances!");
}

TEST_F(ApplicationDeathTest, VideoModeCannotChangeAtRunTime)
{
    EXPECT_EXIT(
        {
            theApplication.Startup();
            theVideoSystem.SetDisplayMode(0, 0, true);
        },
        testing::ExitedWithCode(1),
        "We're sorry, but the engine does not currently support run-time alteration of video mode\\.\n");
}

// A three-digit rate would reach past the window's edge at W - 40: it moves left just enough.
TEST_F(Application, AThreeDigitFrameRateStaysInsideTheWindow)
{
    StartEngineForTest();
    PlatformSetFixedStepForTesting(1.0 / 288.0);
    CaptureDebugOutput([] {
        for (int i = 0; i < 120; ++i) theApplication.RunFrame();
    });
    ASSERT_GE(theApplication.GetFramesPerSecond(), 100.0f);
    const int width = theVideoSystem.GetWidth();
    const int height = theVideoSystem.GetHeight();
    char text[32];
    snprintf(text, sizeof(text), "%.0f fps", double(theApplication.GetFramesPerSecond()));

    // The ink of the whole text where it surely fits, then of the read-out.
    auto orangeColumns = [&](std::vector<int>* columns) {
        std::vector<unsigned char> rows(size_t(width) * 24 * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, height - 24, width, 24, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
        int count = 0;
        for (size_t i = 0; i < rows.size(); i += 4) {
            if (rows[i] > 200 && rows[i + 1] > 90 && rows[i + 1] < 170 && rows[i + 2] < 60) {
                ++count;
                columns->push_back(int(i / 4) % width);
            }
        }
        return count;
    };
    theRenderer.Clear(Color::BLACK);
    theRenderer.SetOrtho(Vec2f(0.0f, 0.0f), Vec2f(float(width), float(height)));
    theRenderer.DrawString(Vec2f(100.0f, 16.0f), Color::ORANGE, text, int(strlen(text)));
    std::vector<int> reference;
    const int whole = orangeColumns(&reference);
    ASSERT_GT(whole, 0);

    theRenderer.Clear(Color::BLACK);
    theRenderer.ToggleFpsDisplay();
    theRenderer.DrawOverlays();
    std::vector<int> shown;
    EXPECT_EQ(orangeColumns(&shown), whole) << "part of \"" << text << "\" is cut off";
    ASSERT_FALSE(shown.empty());
    EXPECT_GE(*std::max_element(shown.begin(), shown.end()), width - 3) << "moved left no further than needed";
    StopEngineForTest();
}
