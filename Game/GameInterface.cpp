#include "Game/GameInterface.h"

#include <new>

#include "Engine/TheApplication.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/Texture.h"
#include "Game/EditorShell.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"

TheGameInterface::~TheGameInterface()
{
    delete theGame;
    theGame = nullptr;
}

void TheGameInterface::PreInit()
{
    theGame = new Game;
    shotTrail.clear();
    TheApplication::SetName("Pinwhirl v0.01");
    theEditorShell = new EditorShell;
    // The start-up dialog: it chooses the display mode and the game's mode.
    theEditorShell->PreInit();
}

void TheGameInterface::PostInit()
{
    theEditorShell->BuildEditor();
    // A failed allocation leaves the pointer null; a file that cannot be read ends the program.
    theGame->titleTexture = new (std::nothrow) Texture("data/ui/titlescreen.tga");
    theGame->panelTexture = new (std::nothrow) Texture("data/ui/ui_base01.tga");
    theGame->arrowTexture = new (std::nothrow) Texture("data/sprites/arrow.tga");
    theGame->mapCompleteTexture = new (std::nothrow) Texture("data/ui/map_complete_success.tga");
    theSoundSystem.RegisterSound(SOUND_ITEM_COLLECTED, "data/sounds/itemcollected.wav");
    theSoundSystem.RegisterSound(SOUND_BALL_SHOT, "data/sounds/ballshot.wav");
    theSoundSystem.RegisterSound(SOUND_BALL_BOUNCE, "data/sounds/ballbounce.wav");
    theSoundSystem.RegisterSound(SOUND_MAP_COMPLETE, "data/sounds/ballshot.wav");
    // The editor starts without a map.
    if (theGame->mode == MODE_TITLE) theGame->SetMap(Game::FIRST_MAP);
}

void TheGameInterface::RunFrame()
{
    theGame->RunFrame();
}

bool TheGameInterface::HandleInputEvent(int32_t type, uint8_t code)
{
    return theGame->HandleInputEvent(type, code);
}

bool TheGameInterface::MayClose()
{
    if (theEditorShell == nullptr) return true;
    theEditorShell->NoteCommand();
    return theEditorShell->MayDiscardChanges("close the window");
}
