// A map's exact text for the editor's undo history and its unsaved-changes test: every
// coordinate to the bit and every property whatever it holds, which the .map text can't
// promise ("%g" rounds, and some property text can't be written). Three sections, one line
// per element, separated by blank lines, so that a change shows as a change of a few lines.
#pragma once

#include <string>

class MapArea;
class Vertex;

class MapSnapshot {
public:
    // The map's elements in list order, leaving out up to two vertexes that have no linedef
    // (the floating end of a line chain, and a start vertex the chain made). The name, the
    // highlights and the selection are not part of it.
    static std::string Write(const MapArea& map, const Vertex* leaveOut = nullptr,
                             const Vertex* alsoLeaveOut = nullptr);
    // Adds the snapshot's elements to the map. The text must come from Write: anything else
    // is an internal failure.
    static void Read(const std::string& text, MapArea& map);
};
