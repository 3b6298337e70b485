// The game's one interface instance. Until the game itself lands this is a
// minimal game: it names the application, shows the window and ends on Escape.
#include <windows.h>

#include "Engine/TheApplication.h"
#include "Engine/TheGameInterfaceAbstract.h"

class TheGameInterface : public TheGameInterfaceAbstract {
public:
    void PreInit() override { TheApplication::SetName("Pinwhirl v0.01"); }

    bool HandleInputEvent(int32_t type, uint8_t code) override
    {
        if (type == KEY_PRESSED && code == VK_ESCAPE) {
            theApplication.RequestShutdown();
            return true;
        }
        return false;
    }
};

static TheGameInterface theGameInterface;
