// Redirecting the program's own imports: the slot of an imported function in the .exe's
// import address table is pointed at a replacement, so every call the .exe's code makes
// to it arrives there. DLLs keep calling the real function.
#pragma once

// Replaces function (imported from dll, e.g. "gdi32.dll") in every import slot of the .exe;
// returns the real function, or null when the .exe does not import it.
void* RedirectImport(const char* dll, const char* function, void* replacement);

template <typename Function>
Function RedirectImport(const char* dll, const char* function, Function replacement)
{
    return reinterpret_cast<Function>(RedirectImport(dll, function, reinterpret_cast<void*>(replacement)));
}
