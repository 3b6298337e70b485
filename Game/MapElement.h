// The polymorphic base of the three kinds of map element.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

#include "Engine/Vector.h"

class MapArea;

// The codes are fixed: code walking mixed element lists tests them directly.
enum MapElementType : int32_t {
    MAP_ELEMENT_NONE = 0,
    MAP_ELEMENT_VERTEX = 1,
    MAP_ELEMENT_LINEDEF = 2,
    MAP_ELEMENT_OBJECT = 3,
};

class MapElement {
public:
    MapElement();
    virtual ~MapElement();
    virtual void Move(const Vec2f& offset) = 0;

    MapElement(const MapElement&) = delete;
    MapElement& operator=(const MapElement&) = delete;

    // Construction and destruction write a trace line to the debugger output. The program keeps
    // them; a tool that loads maps by the hundred may switch them off before it starts.
    static bool traceLines;

    // Frame number of the last Highlight; highlighted while it equals the current frame.
    int32_t highlightFrame = 0;
    // True exactly while the element is in its map area's selection (set only by the map area).
    bool selected = false;
    // Scratch mark of MapArea::MoveSelection.
    bool moveMark = false;
    MapElementType type = MAP_ELEMENT_NONE;

private:
    // The map area's bookkeeping, so that membership tests and removals need no list search.
    friend class MapArea;
    const MapArea* _area = nullptr;           // the map area that owns the element
    const MapArea* _selectingArea = nullptr;  // the map area whose selection lists it
    std::list<MapElement*>::iterator _selectionEntry;
    int32_t _highlightCount = 0;  // its entries in the highlighted list
    size_t _arraySlot = 0;        // its place in the owner's flat array of its kind
    uint64_t _sequence = 0;       // creation order, which is list order
};
