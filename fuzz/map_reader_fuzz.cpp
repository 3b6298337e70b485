// The map reader: any bytes as a .map file. What loads must save, and the saved text must load
// back and save as the same text.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "Game/MapArea.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = WriteInputFile(data, size, "input.map");
    MapArea map;
    if (!LoadOrReject([&] { return map.Load(input); }, {"Engine/ParseBuffer.cpp"})) return 0;

    const std::string saved = ScratchPath("saved.map");
    const std::string again = ScratchPath("again.map");
    if (!map.Save(saved)) Finding("a map that loaded could not be saved");
    MapArea reloaded;
    if (!LoadOrReject([&] { return reloaded.Load(saved); })) Finding("a saved map did not load");
    if (!reloaded.Save(again)) Finding("a reloaded map could not be saved");
    const std::string first = ReadWholeFile(saved);
    const std::string second = ReadWholeFile(again);
    if (first != second) Finding("saving the reloaded map gave another text", first + "\n-----\n" + second);
    return 0;
}
