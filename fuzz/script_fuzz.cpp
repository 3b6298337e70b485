// The script reader (PINWHIRL_SCRIPT): any bytes as a script file.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "PlatformScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = WriteInputFile(data, size, "input.script");
    std::string error;
    const bool loaded = LoadOrReject([&] { return PlatformLoadScriptFile(input, &error); });
    // A refusal always names the file and the line.
    if (!loaded && error.compare(0, input.size() + 1, input + ":") != 0) Finding("a refusal without its place", error);
    PlatformUnloadScript();
    return 0;
}
