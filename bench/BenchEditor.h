// The editor in the engine, headless, as the game runs it in editing mode: started once per
// benchmark program (the engine, the shell, its panes) and stopped at exit.
#pragma once

#include <cstdlib>
#include <functional>

#include "BenchSupport.h"
#include "Engine/TheApplication.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"

namespace {

class BenchEditorGame : public TheGameInterfaceAbstract {
public:
    void PreInit() override { theVideoSystem.SetDesiredDisplayMode(1280, 1024, 32, 60, 0); }
    void RunFrame() override { theEditorShell->Frame(); }
};
BenchEditorGame theBenchEditorGame;

void StopBenchEditor()
{
    Quietly([] {
        delete theEditorShell;
        theEditorShell = nullptr;
        theApplication.RequestShutdown();
        theApplication.RunFrame();
    });
}

// The first call starts the editor and has fill give it its map; later calls do nothing.
void StartBenchEditorOnce(const std::function<void()>& fill)
{
    static bool started = false;
    if (started) return;
    started = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Quietly([&fill] {
        theApplication.Startup();
        theEditorShell = new EditorShell();
        theEditorShell->preferences = new EditorPreferences("data/Pinwhirl.ini");
        theEditorShell->active = true;
        theEditorShell->BuildEditor();
        fill();
        theApplication.RunFrame();  // past frame 0, where every element would count as highlighted
    });
    atexit(StopBenchEditor);
}

}  // namespace
