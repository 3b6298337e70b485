#include "Engine/FailureBoxes.h"

#include <windows.h>

#include "Engine/AssertionFailure.h"
#include "Engine/TheApplication.h"
#include "Engine/TheVideoSystem.h"

void EndFailureWithMessageBoxes(const char* report)
{
    OutputDebugStringA(report);

    ChangeDisplaySettingsA(nullptr, 0);
    HWND owner = TheVideoSystem::GetHWnd();
    ShowWindow(owner, SW_HIDE);

    const UINT style = MB_OK | MB_ICONERROR | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST;
    char title[FORMAT_BUFFER_SIZE];
    SafeFormat(title, sizeof(title), "%s : Program Error", TheApplication::GetName());
    MessageBoxA(owner, report, title, style);
    SafeFormat(title, sizeof(title), "%s : Emergency Shutdown", TheApplication::GetName());
    MessageBoxA(owner, "The application will now close.", title, style);

    theApplication.RequestShutdown();
    theApplication.RunEmergencyShutdown();
}
