#include "Game/MapSaving.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "Engine/FileName.h"
#include "Engine/TheConsole.h"
#include "Game/BackgroundPainter.h"
#include "Game/FileChecks.h"
#include "Game/Game.h"
#include "Game/MapArea.h"
#include "Game/SafeSave.h"

namespace fs = std::filesystem;

namespace {

// The bytes of a plain file (through links); false for anything else or a read that fails.
bool ReadPlainFile(const std::string& path, std::string& bytes)
{
    FILE* in = OpenRegularFile(path);
    return in != nullptr && ReadAllAndClose(in, bytes);
}

// The picture the painter makes of a map file's text; false when the text is no map.
bool PaintText(const std::string& text, const std::string& name, std::string& picture)
{
    MapArea map;
    std::string fault;
    if (!ReadMapText(text, MapArea::MapFilePath(name), map, fault)) return false;
    const std::vector<uint8_t> bytes = PaintBackgroundPicture(map, name);
    picture.assign(bytes.begin(), bytes.end());
    return true;
}

void SaveBackground(const std::string& name, const std::string* oldText, const std::string& text)
{
    const std::string path = Game::BackgroundPath(name);
    const std::string file = ResolveFileName(path);
    // No mark can go inside a picture (the reader refuses TGA image-ID fields): one that the
    // painter made is known by its bytes alone. What cannot even be read is left alone too.
    std::error_code error;
    std::string painted;
    if (fs::exists(fs::symlink_status(file, error))) {
        std::string there;
        if (!ReadPlainFile(file, there)) {
            theConsole.Printf("WARNING: background picture \"%s\" is no file that can be read; it is left as it is\n",
                              path.c_str());
            return;
        }
        // Painting takes a moment; a picture of another size is no painted one anyway.
        if (oldText == nullptr || there.size() != BACKGROUND_FILE_BYTES || !PaintText(*oldText, name, painted) ||
            there != painted) {
            theConsole.Printf("Kept background picture \"%s\", which was not painted from the map\n", path.c_str());
            return;
        }
    }
    std::string picture, why;
    // A map saved unchanged has the picture just painted from its old text.
    if (oldText != nullptr && *oldText == text && !painted.empty()) {
        picture.swap(painted);
    } else if (!PaintText(text, name, picture)) {
        theConsole.Printf("WARNING: could not paint background picture \"%s\": the saved map does not read back\n",
                          path.c_str());
        return;
    }
    if (!SaveBytesSafely(file, picture, why)) {
        theConsole.Printf("WARNING: could not write background picture \"%s\": %s\n", path.c_str(), why.c_str());
        return;
    }
    theConsole.Printf("Painted background picture \"%s\"\n", path.c_str());
}

}  // namespace

bool SaveMapAndBackground(const std::string& name, const std::string& text)
{
    const std::string path = MapArea::MapFilePath(name);
    const std::string file = ResolveFileName(path);
    std::string oldText;
    const bool hadFile = ReadPlainFile(file, oldText);
    std::string why;
    if (!SaveTextSafely(file, text, why)) {
        theConsole.Printf("WARNING: could not save map \"%s\": %s\n", path.c_str(), why.c_str());
        return false;
    }
    theConsole.Printf("Saved map \"%s\"\n", path.c_str());
    SaveBackground(name, hadFile ? &oldText : nullptr, text);
    return true;
}
