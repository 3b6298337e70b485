// The game through the real engine in a test: started as WinMain starts it, driven by window
// messages and frames of a fixed-step clock, on a small data folder of its own. Each test
// program that includes this has its own static TheGameInterface.
#pragma once

#include <gtest/gtest.h>

#include <FmodTesting.h>
#include <PlatformTesting.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Engine/TheApplication.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Game/Ball.h"
#include "Game/EditorShell.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"
#include "Game/PlayMap.h"
#include "GameTestData.h"
#include "TestSupport.h"

namespace {

std::vector<UINT> s_defaultHandled;
void RecordDefaultHandling(UINT message, WPARAM)
{
    // Characters always go on; only the key and wheel messages tell what the game took.
    if (message != WM_CHAR) s_defaultHandled.push_back(message);
}

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Death tests start a fresh process rather than fork one with a GL driver's threads.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        // The engine, the flight record and the debug switches as a new process has them, so the
        // program passes run on its own, not only one test per process.
        ResetEngineForTest();
        theFlightRecord = FlightRecord();
        debugOverlay = false;
        freezeOnCollision = false;
        lastBounceSoundTime = 0.0;
        completeBob = 0.0;
        game_test_data::WriteAll(folder.Path());
        ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
        ASSERT_EQ(chdir(folder.Path().c_str()), 0);
        FmodSetManualOutputForTesting(true);
        PlatformSetFixedStepForTesting(0.01);
    }
    void TearDown() override
    {
        PlatformSetDefWindowProcObserverForTesting(nullptr);
        if (TheApplication::IsInitialized()) {
            theApplication.RequestShutdown();
            CaptureDebugOutput([] { theApplication.RunFrame(); });
        }
        delete theGame;
        theGame = nullptr;
        delete theEditorShell;
        theEditorShell = nullptr;
        PlatformSetFixedStepForTesting(0);
        EXPECT_EQ(chdir(previous), 0);
    }

    // The engine up with the game in it, as WinMain starts it, then one frame.
    void Start()
    {
        log += CaptureDebugOutput([] { theApplication.Startup(); });
        ASSERT_TRUE(TheApplication::IsInitialized()) << log;
        hWnd = TheVideoSystem::GetHWnd();
        Frames(1);
        PlatformSetDefWindowProcObserverForTesting(RecordDefaultHandling);
    }
    // Title, then any key: aiming on map01.
    void StartAiming()
    {
        Start();
        theGame->SetMode(MODE_AIM);
    }
    void Frames(int count)
    {
        log += CaptureDebugOutput([count] {
            for (int i = 0; i < count; ++i) theApplication.RunFrame();
        });
    }
    void Post(UINT message, WPARAM wParam, LPARAM lParam)
    {
        s_defaultHandled.clear();
        PostMessageA(hWnd, message, wParam, lParam);
        log += CaptureDebugOutput([] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
    }
    void Press(UINT key) { Post(WM_KEYDOWN, key, 1); }
    void Repeat(UINT key) { Post(WM_KEYDOWN, key, 1 | (1 << 30)); }
    void Release(UINT key) { Post(WM_KEYUP, key, LPARAM(1u | (1u << 30) | (1u << 31))); }
    // A press, the frame that sees it, the release.
    void Tap(UINT key)
    {
        Press(key);
        Frames(1);
        Release(key);
    }
    // Whether the last message went on to the platform's default handling (not consumed).
    bool ReachedDefaultHandling() const { return !s_defaultHandled.empty(); }

    size_t Playing(GameSound sound) const { return theSoundSystem.FindSound(sound)->channels.size(); }
    Ball& TheBall() const { return *theGame->balls.at(0); }
    PlayMap& TheMap() const { return *theGame->GetCurrentMap(); }
    // Shoots and flies until the predicate holds (at most ten seconds).
    template <typename Predicate>
    void FlyUntil(Predicate done)
    {
        for (int frame = 0; frame < 1000 && !done(); ++frame) Frames(1);
        ASSERT_TRUE(done());
    }

    TestFolder folder;
    char previous[4096] = {};
    HWND hWnd = nullptr;
    std::string log;
};

}  // namespace
