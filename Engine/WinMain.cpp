#include <windows.h>

#include "Engine/TheApplication.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR cmdLine, int cmdShow)
{
    (void)hPrevInstance;
    (void)cmdShow;
    theApplication.SetInstanceHandle(hInstance);
    theApplication.SetCommandLine(cmdLine != nullptr ? cmdLine : "");
    if (theApplication.Startup()) theApplication.RunMainLoop();
    return 0;
}
