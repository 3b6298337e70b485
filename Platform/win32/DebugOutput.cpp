// KERNEL32's debugger output, apart from the rest of the layer: programs without a window (the
// shot solver) log through it and link nothing else of the layer.
#include <cstdio>

#include "windows.h"

// There is no debugger to attach to on Linux; stderr is where the log is read.
void WINAPI OutputDebugStringA(LPCSTR text)
{
    if (text == nullptr) return;
    fputs(text, stderr);
    fflush(stderr);
}
