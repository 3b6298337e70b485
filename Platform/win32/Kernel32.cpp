// KERNEL32: the performance counter, Sleep and the debugger output.
#include <SDL.h>

#include <cstdio>

#include "windows.h"

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = static_cast<LONGLONG>(SDL_GetPerformanceFrequency());
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count)
{
    count->QuadPart = static_cast<LONGLONG>(SDL_GetPerformanceCounter());
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds)
{
    SDL_Delay(milliseconds);
}

// There is no debugger to attach to on Linux; stderr is where the log is read.
void WINAPI OutputDebugStringA(LPCSTR text)
{
    if (text == nullptr) return;
    fputs(text, stderr);
    fflush(stderr);
}
