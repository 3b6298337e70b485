#include "EditorTestGame.h"

#include <PlatformTesting.h>

#include <cstdlib>
#include <filesystem>

#include "Engine/TheApplication.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "TestSupport.h"

EditorTestGame theEditorTestGame;

void EditorTestGame::PreInit()
{
    TheApplication::SetName("Editor Test");
    theVideoSystem.SetDesiredDisplayMode(1280, 1024, 32, 60, 0);
}

void EditorTestGame::RunFrame()
{
    if (theEditorShell != nullptr) theEditorShell->Frame();
}

bool EditorTestGame::HandleInputEvent(int32_t type, uint8_t code)
{
    ++eventsOffered;
    const bool consumed = theEditorShell != nullptr && theEditorShell->HandleEditorInput(type, code);
    eventsConsumed += consumed ? 1 : 0;
    return consumed;
}

namespace {

class EngineShutdown : public testing::Environment {
public:
    void TearDown() override
    {
        if (!TheApplication::IsInitialized()) return;
        theApplication.RequestShutdown();
        CaptureDebugOutput([] { theApplication.RunFrame(); });
    }
};
testing::Environment* const kEngineShutdown = testing::AddGlobalTestEnvironment(new EngineShutdown);

}  // namespace

void EditorTest::SetUpTestSuite()
{
    if (TheApplication::IsInitialized()) return;
    PlatformSetFixedStepForTesting(0.01);
    CaptureDebugOutput([] { theApplication.Startup(); });
    PumpMessages();
}

void EditorTest::SetUp()
{
    // Death tests start a fresh process rather than fork one with a GL driver's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char pattern[] = "/tmp/pinwhirl_editor_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    std::filesystem::create_directories(folder + "/data/maps");
    _previousDirectory = std::filesystem::current_path().string();
    std::filesystem::current_path(folder);

    Capture([this] {
        shell = new EditorShell();
        theEditorShell = shell;
        shell->preferences = new EditorPreferences("data/Pinwhirl.ini");
        shell->active = true;
        shell->BuildEditor();
    });
    MoveMouseTo(480, 512);
    RunFrames(2);
}

void EditorTest::TearDown()
{
    Capture([this] {
        delete shell;
        shell = nullptr;
        theEditorShell = nullptr;
    });
    ReleaseAll();
    std::filesystem::current_path(_previousDirectory);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}
