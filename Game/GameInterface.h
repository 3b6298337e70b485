// How the engine reaches the game: the one TheGameInterface instance creates the Game and the
// editor shell, loads what the game shows and plays, and hands on every frame and input event.
#pragma once

#include <cstdint>

#include "Engine/TheGameInterfaceAbstract.h"

class TheGameInterface : public TheGameInterfaceAbstract {
public:
    ~TheGameInterface() override;

    void PreInit() override;
    void PostInit() override;
    void RunFrame() override;
    bool HandleInputEvent(int32_t type, uint8_t code) override;
    // Not while the editor's map has unsaved changes, the first time.
    bool MayClose() override;
};
