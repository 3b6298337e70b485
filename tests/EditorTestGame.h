// The editor running inside the real engine for the editor's tests: a 1280 x 1024 window and
// a game interface that hands every frame and input event to the editor shell.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "EditorDriver.h"
#include "Engine/TheGameInterfaceAbstract.h"

class EditorShell;

class EditorTestGame : public TheGameInterfaceAbstract {
public:
    void PreInit() override;
    void RunFrame() override;
    bool HandleInputEvent(int32_t type, uint8_t code) override;

    int eventsConsumed = 0;
    int eventsOffered = 0;
};

extern EditorTestGame theEditorTestGame;

// Each test gets a fresh shell with default preferences and a built editor, in a folder of
// its own as working directory (so "data/maps/..." lands there).
class EditorTest : public testing::Test, public EditorDriver {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    std::string folder;
    EditorShell* shell = nullptr;

private:
    std::string _previousDirectory;
};
