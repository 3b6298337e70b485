#include "Engine/TheMessageHandler.h"

#include "Engine/AssertionFailure.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"

bool TheMessageHandler::_isInitialized = false;

TheMessageHandler::~TheMessageHandler()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheMessageHandler");
}

void TheMessageHandler::Startup()
{
    theConsole.Printf("::: Initialization : Message Handler (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheMessageHandler");
    _isInitialized = true;
    theConsole.Printf("::: Initialization : Message Handler (finished)\n");
}

void TheMessageHandler::Shutdown()
{
    theConsole.Printf("::: Shutdown : Message Handler (starting)\n");
    _isInitialized = false;
    theConsole.Printf("::: Shutdown : Message Handler (finished)\n");
}

bool TheMessageHandler::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)hWnd;
    switch (message) {
    case WM_MOVE:
        theVideoSystem.SetClientOrigin(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return false;
    case WM_PAINT:
        // Something covered the window: the next frame draws all of it. The default handling
        // validates the window.
        theRenderer.InvalidateWindow();
        return false;
    case WM_CLOSE: {
        // Consumed, so the default handling never destroys the window under the running frame loop.
        TheGameInterfaceAbstract* game = TheGameInterfaceAbstract::GetInstance();
        if (game == nullptr || game->MayClose()) theApplication.RequestShutdown();
        return true;
    }
    case WM_ACTIVATEAPP:
        if (wParam == 1) {
            theApplication.OnAppActivated();
        } else {
            theApplication.OnAppDeactivated();
        }
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
        return theInputSystem.HandleWindowMessage(message, wParam, lParam);
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        theInputSystem.HandleWindowMessage(message, wParam, lParam);
        return false;
    case WM_LBUTTONDOWN:
        return theInputSystem.HandleWindowMessage(WM_KEYDOWN, VK_LBUTTON, 0);
    case WM_LBUTTONUP:
        return theInputSystem.HandleWindowMessage(WM_KEYUP, VK_LBUTTON, 0);
    case WM_RBUTTONDOWN:
        return theInputSystem.HandleWindowMessage(WM_KEYDOWN, VK_RBUTTON, 0);
    case WM_RBUTTONUP:
        return theInputSystem.HandleWindowMessage(WM_KEYUP, VK_RBUTTON, 0);
    case WM_MBUTTONDOWN:
        return theInputSystem.HandleWindowMessage(WM_KEYDOWN, VK_MBUTTON, 0);
    case WM_MBUTTONUP:
        return theInputSystem.HandleWindowMessage(WM_KEYUP, VK_MBUTTON, 0);
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
        return theInputSystem.HandleWindowMessage(message, wParam, lParam);
    default:
        return false;
    }
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (theMessageHandler.HandleMessage(hWnd, message, wParam, lParam)) return 0;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
