// Paints a map's background from its .map file with the program's own painter, which the
// editor's SAVE uses too: the map is loaded as the game loads it (y mirrored to 1024 - y).
//
//   make_background ROOT NAME [OUT.tga]    reads ROOT/data/maps/NAME.map,
//                                          writes OUT.tga (default ROOT/data/maps/NAME.tga)
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Game/BackgroundPainter.h"
#include "Game/MapArea.h"
#include "Game/MapElement.h"
#include "assetkit/DataFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: make_background ROOT NAME [OUT.tga]\n");
        return 2;
    }
    const std::string name = argv[2];
    std::string out = argc == 4 ? argv[3] : std::string(argv[1]) + "/data/maps/" + name + ".tga";
    if (out[0] != '/') {
        char here[4096];
        if (getcwd(here, sizeof(here)) != nullptr) out = std::string(here) + "/" + out;
    }
    // The map area reads "data/maps/" + name + ".map" from the working folder, as in the game.
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "cannot enter \"%s\"\n", argv[1]);
        return 1;
    }
    MapElement::traceLines = false;  // the build runs this once per map
    MapArea map(name, true);
    WriteFileAtomically(out, PaintBackgroundPicture(map, name));
    map.Clear();
    return 0;
}
