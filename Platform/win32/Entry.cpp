// The process entry: loads the script of a scripted run, builds the Win32
// command-line text and calls WinMain.
#include <string>

#include "PlatformScript.h"
#include "windows.h"

// Stands in for the module the instance handle names; any address unique to the program will do.
static char s_instance;

int main(int argc, char** argv)
{
    // A bad script or fixed step ends the run here, before anything starts.
    PlatformLoadScriptFromEnvironmentOrExit();

    // The arguments after the program name, joined by single blanks.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(reinterpret_cast<HINSTANCE>(&s_instance), nullptr, &commandLine[0], SW_SHOWNORMAL);
}
