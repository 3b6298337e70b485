// The real game started as the start-up dialog's "1280 x 1024 Windowed Editor" leaves it, with
// the ~ command line typed into key by key.
#pragma once

#include <PlatformScript.h>

#include <string>

#include "EditorDriver.h"
#include "GameFixture.h"

namespace {

class EditorGameTest : public GameTest, public EditorDriver {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        WriteData();
        std::string error;
        ASSERT_TRUE(PlatformLoadScriptText("dialog 1002 ok\n", "dialog.script", &error)) << error;
        Start();
        ASSERT_EQ(theGame->mode, MODE_EDIT);
        ASSERT_NE(theMapArea, nullptr);
    }
    void TearDown() override
    {
        ReleaseAll();
        GameTest::TearDown();
        PlatformUnloadScript();
    }
    void Command(const std::string& text)
    {
        if (!theGame->commandLineOpen) Key(VK_OEM_3);
        log += Capture([&] {
            for (char c : text) Key(uint8_t(c));
            Key(VK_RETURN);
        });
    }
    // Files a test adds to the data folder before the game starts.
    virtual void WriteData() {}
    bool Logged(const std::string& line) const { return log.find("CONSOLE: " + line + "\n") != std::string::npos; }
};

}  // namespace
