// The game's one interface instance. Until the game itself lands this is a
// minimal game: it names the application, shows the window with its name and the
// keys it knows, lets the console and frame-rate overlays be switched, and ends on Escape.
#include <windows.h>

#include "Engine/TheApplication.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"

class TheGameInterface : public TheGameInterfaceAbstract {
public:
    void PreInit() override { TheApplication::SetName("Pinwhirl v0.01"); }

    void RunFrame() override
    {
        theRenderer.Clear(Color(16, 24, 48, 255));
        theRenderer.SetPixelOrtho(false);
        const float middle = float(theVideoSystem.GetHeight() / 2);
        theRenderer.DrawText(40.0f, middle - 10.0f, Color::WHITE, "%s", TheApplication::GetName());
        theRenderer.DrawText(40.0f, middle + 14.0f, Color::GREY, "~ console    F frame rate    Escape quit");
    }

    bool HandleInputEvent(int32_t type, uint8_t code) override
    {
        if (type != KEY_PRESSED) return false;
        switch (code) {
        case VK_ESCAPE:
            theApplication.RequestShutdown();
            return true;
        case VK_OEM_3:
            theRenderer.SetConsoleVisible(!theRenderer.IsConsoleVisible());
            return true;
        case 'F':
            theRenderer.ToggleFpsDisplay();
            return true;
        default:
            return false;
        }
    }
};

static TheGameInterface theGameInterface;
