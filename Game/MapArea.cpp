#include "Game/MapArea.h"

#include <cfloat>
#include <cmath>
#include <vector>

#include "Engine/AssertionFailure.h"
#include "Engine/FileName.h"
#include "Engine/ParseFile.h"
#include "Engine/FrameNumber.h"
#include "Game/Geometry.h"
#include "Game/MapFile.h"
#include "Game/SafeSave.h"

// Points closer than 0.5 are the same point for AddVertex and MergeVertex.
static const float SAME_POINT_DISTANCE_SQUARED = 0.25f;

static inline float DistanceSquared(const Vec2f& a, float x, float y)
{
    float dx = a.x - x;
    float dy = a.y - y;
    return dx * dx + dy * dy;
}

// Squared distance to the linedef's nearest point. Where that is one of its ends, it is the
// vertex itself (start + (end - start) need not give the end back), so linedefs that meet at
// a vertex are exactly as near there and list order decides between them.
static float LinedefDistanceSquared(const Linedef* linedef, float x, float y)
{
    const Vec2f& end = linedef->end->position;
    const Segment2f segment(linedef->start->position, end - linedef->start->position);
    Vec2f nearest = ClosestPointOnSegment(segment, Vec2f(x, y));
    if (nearest == segment.End()) nearest = end;
    return DistanceSquared(nearest, x, y);
}

template <typename T>
void MapArea::_AddToArray(std::vector<T*>& array, T* element)
{
    element->_arraySlot = array.size();
    element->_sequence = _nextSequence++;
    array.push_back(element);
}

template <typename T>
void MapArea::_RemoveFromArray(std::vector<T*>& array, T* element)
{
    T* last = array.back();
    array[element->_arraySlot] = last;
    last->_arraySlot = element->_arraySlot;
    array.pop_back();
}

// The array is not in list order, so ties go to the earliest created, which is the
// first in the list. The first element always counts, so huge coordinates whose
// distance overflows to infinity still give an answer; a distance that is no number
// (coordinates across the whole float range) counts as infinite, so it hides nothing.
template <typename T, typename Distance>
T* MapArea::_Nearest(const std::vector<T*>& array, Distance distance, float& distanceSquared)
{
    T* nearest = nullptr;
    float best = FLT_MAX;
    for (T* element : array) {
        float d = distance(element);
        if (std::isnan(d)) d = INFINITY;
        if (nearest == nullptr || d < best || (d == best && element->_sequence < nearest->_sequence)) {
            nearest = element;
            best = d;
        }
    }
    distanceSquared = best;
    return nearest;
}

MapArea::MapArea() {}

MapArea::MapArea(const std::string& mapName, bool flipY_) : flipY(flipY_), name(mapName)
{
    // A trapped fatal report in the load leaves without the destructor: what was read goes here.
    try {
        Load(MapFilePath(name));
    } catch (...) {
        Clear();
        throw;
    }
}

MapArea::~MapArea()
{
    Clear();
}

std::string MapArea::MapFilePath(const std::string& mapName)
{
    return "data/maps/" + mapName + ".map";
}

// ---------------------------------------------------------------------------
// Element management

Vertex* MapArea::AddVertex(const Vec2f& position, bool force)
{
    if (!force) {
        for (Vertex* vertex : vertexes) {
            if (DistanceSquared(vertex->position, position.x, position.y) < SAME_POINT_DISTANCE_SQUARED) return vertex;
        }
    }
    ++_revision;
    Vertex* vertex = new Vertex(position);
    vertex->_area = this;
    vertex->_areaEntry = vertexes.insert(vertexes.end(), vertex);
    _AddToArray(_vertexArray, vertex);
    return vertex;
}

Linedef* MapArea::AddLinedef(Vertex* start, Vertex* end)
{
    // A linedef on a missing or foreign vertex could never be unlinked again.
    FATAL_CHECK(_Owns(start) && _Owns(end), "MapArea::AddLinedef() : both ends must be vertexes of this map");
    ++_revision;
    Linedef* linedef = new Linedef(start, end);
    linedef->_area = this;
    linedef->_areaEntry = linedefs.insert(linedefs.end(), linedef);
    _AddToArray(_linedefArray, linedef);
    linedef->_startEntry = start->linedefs.insert(start->linedefs.end(), linedef);
    linedef->_endEntry = end->linedefs.insert(end->linedefs.end(), linedef);
    return linedef;
}

MapObject* MapArea::AddObject(const Vec2f& position)
{
    ++_revision;
    MapObject* object = new MapObject(position);
    object->_area = this;
    object->_areaEntry = objects.insert(objects.end(), object);
    _AddToArray(_objectArray, object);
    return object;
}

void MapArea::RemoveVertex(Vertex* vertex, Linedef* exceptLinedef)
{
    if (!_Owns(vertex)) return;
    ++_revision;

    // RemoveLinedef (linedef, vertex) never touches this vertex's own list, so it can be
    // walked as it is. A linedef from the vertex to itself is listed twice: its later entry
    // goes when the first is met, so the loop is removed once and the walk stays linear.
    LinedefList& attached = vertex->linedefs;
    for (LinedefList::iterator entry = attached.begin(); entry != attached.end();) {
        Linedef* linedef = *entry;
        bool isLoop = linedef->start == vertex && linedef->end == vertex;
        if (linedef != exceptLinedef && isLoop) {
            attached.erase(entry == linedef->_startEntry ? linedef->_endEntry : linedef->_startEntry);
        }
        ++entry;
        if (linedef != exceptLinedef) RemoveLinedef(linedef, vertex);
    }

    vertexes.erase(vertex->_areaEntry);
    _RemoveFromArray(_vertexArray, vertex);
    _Destroy(vertex);
}

void MapArea::_DetachLinedefFromVertex(Linedef* linedef, Vertex* vertex, LinedefList::iterator entry)
{
    if (vertex->linedefs.size() == 1) {
        RemoveVertex(vertex, linedef);  // it would be left without linedefs
    } else {
        vertex->linedefs.erase(entry);
    }
}

void MapArea::RemoveLinedef(Linedef* linedef, Vertex* exceptVertex)
{
    if (!_Owns(linedef)) return;
    ++_revision;

    Vertex* start = linedef->start;
    Vertex* end = linedef->end;
    if (start != exceptVertex) _DetachLinedefFromVertex(linedef, start, linedef->_startEntry);
    if (end != exceptVertex) _DetachLinedefFromVertex(linedef, end, linedef->_endEntry);

    linedefs.erase(linedef->_areaEntry);
    _RemoveFromArray(_linedefArray, linedef);
    _Destroy(linedef);
}

void MapArea::RemoveObject(MapObject* object)
{
    if (!_Owns(object)) return;
    ++_revision;
    objects.erase(object->_areaEntry);
    _RemoveFromArray(_objectArray, object);
    _Destroy(object);
}

void MapArea::_Destroy(MapElement* element)
{
    // The highlighted and selected lists never keep a destroyed element.
    if (element->_selectingArea == this) {
        selection.erase(element->_selectionEntry);
        element->_selectingArea = nullptr;
    }
    if (element->_highlightCount > 0) {
        highlighted.remove(element);
        element->_highlightCount = 0;
    }
    delete element;
}

Vertex* MapArea::MergeVertex(Vertex* vertex)
{
    if (!_Owns(vertex)) return vertex;

    Vertex* target = nullptr;
    for (Vertex* other : vertexes) {
        if (other != vertex &&
            DistanceSquared(other->position, vertex->position.x, vertex->position.y) < SAME_POINT_DISTANCE_SQUARED) {
            target = other;
            break;
        }
    }
    if (target == nullptr) return vertex;
    ++_revision;

    // A linedef from the vertex to itself is listed twice: its first entry moves the
    // start, the second the end.
    for (Linedef* linedef : vertex->linedefs) {
        LinedefList::iterator entry = target->linedefs.insert(target->linedefs.end(), linedef);
        if (linedef->start == vertex) {
            linedef->start = target;
            linedef->_startEntry = entry;
        } else {
            linedef->end = target;
            linedef->_endEntry = entry;
        }
    }
    vertex->linedefs.clear();
    RemoveVertex(vertex, nullptr);
    return target;
}

void MapArea::RemoveElement(MapElement* element)
{
    if (element == nullptr) return;
    switch (element->type) {
    case MAP_ELEMENT_VERTEX:
        RemoveVertex(static_cast<Vertex*>(element), nullptr);
        break;
    case MAP_ELEMENT_LINEDEF:
        RemoveLinedef(static_cast<Linedef*>(element), nullptr);
        break;
    case MAP_ELEMENT_OBJECT:
        RemoveObject(static_cast<MapObject*>(element));
        break;
    default:
        break;
    }
}

void MapArea::Clear()
{
    ClearHighlights();
    ClearSelection();
    while (!vertexes.empty()) RemoveVertex(vertexes.front(), nullptr);
    while (!linedefs.empty()) RemoveLinedef(linedefs.front(), nullptr);
    while (!objects.empty()) RemoveObject(objects.front());
}

// ---------------------------------------------------------------------------
// Lookup

Vertex* MapArea::VertexByIndex(int32_t index) const
{
    if (index < 0) return nullptr;
    for (Vertex* vertex : vertexes) {
        if (index-- == 0) return vertex;
    }
    return nullptr;
}

int32_t MapArea::IndexOfVertex(const Vertex* vertex) const
{
    int32_t index = 0;
    for (const Vertex* listed : vertexes) {
        if (listed == vertex) return index;
        ++index;
    }
    return -1;
}

Vertex* MapArea::NearestVertex(float x, float y, float& distanceSquared) const
{
    return _Nearest(
        _vertexArray, [x, y](const Vertex* v) { return DistanceSquared(v->position, x, y); }, distanceSquared);
}

Linedef* MapArea::NearestLinedef(float x, float y, float& distanceSquared) const
{
    return _Nearest(
        _linedefArray, [x, y](const Linedef* l) { return LinedefDistanceSquared(l, x, y); }, distanceSquared);
}

MapObject* MapArea::NearestObject(float x, float y, float& distanceSquared) const
{
    return _Nearest(
        _objectArray, [x, y](const MapObject* o) { return DistanceSquared(o->position, x, y); }, distanceSquared);
}

int32_t MapArea::SelectedCountOfType(MapElementType elementType) const
{
    int32_t count = 0;
    for (const MapElement* element : selection) {
        if (element->type == elementType) ++count;
    }
    return count;
}

// ---------------------------------------------------------------------------
// Highlighting and selection

void MapArea::ClearHighlights()
{
    for (MapElement* element : highlighted) element->_highlightCount = 0;
    highlighted.clear();
}

void MapArea::Highlight(MapElement* element)
{
    if (element == nullptr) return;
    element->highlightFrame = GetCurrentFrameNumber();
    highlighted.push_back(element);
    ++element->_highlightCount;
}

void MapArea::ClearSelection()
{
    for (MapElement* element : selection) {
        element->selected = false;
        element->_selectingArea = nullptr;
    }
    selection.clear();
}

void MapArea::Select(MapElement* element)
{
    if (element == nullptr || element->selected) return;
    if (element->_selectingArea == nullptr) {
        element->_selectionEntry = selection.insert(selection.end(), element);
        element->_selectingArea = this;
    }
    element->selected = true;
}

void MapArea::Deselect(MapElement* element)
{
    if (element == nullptr || !element->selected) return;
    if (element->_selectingArea != this) {
        AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", "iter != end",
                         "MapArea::Deselect() : element is flagged as selected but is not in the selection list");
    }
    selection.erase(element->_selectionEntry);
    element->_selectingArea = nullptr;
    element->selected = false;
}

void MapArea::ToggleHighlightedSelection()
{
    for (MapElement* element : highlighted) {
        if (element->type == MAP_ELEMENT_VERTEX) continue;
        if (element->selected) {
            Deselect(element);
        } else {
            Select(element);
        }
    }
}

void MapArea::DeleteSelection()
{
    if (!highlighted.empty()) Select(highlighted.front());
    while (!selection.empty()) {
        MapElement* element = selection.front();
        if (_Owns(element)) {
            RemoveElement(element);  // also takes it out of the selection
        } else {
            // Not ours to destroy: drop it from the selection and keep its flag true to the list.
            selection.pop_front();
            element->_selectingArea = nullptr;
            element->selected = false;
        }
    }
}

void MapArea::MoveSelection(const Vec2f& offset)
{
    for (MapElement* element : selection) {
        element->moveMark = false;
        if (element->type == MAP_ELEMENT_LINEDEF) {
            Linedef* linedef = static_cast<Linedef*>(element);
            linedef->start->moveMark = false;
            linedef->end->moveMark = false;
        }
    }

    // Each vertex moves once, however many selected linedefs share it.
    std::vector<MapElement*> work;
    work.reserve(selection.size());
    for (MapElement* element : selection) {
        if (element->type == MAP_ELEMENT_VERTEX) {
            if (!element->moveMark) {
                element->moveMark = true;
                work.push_back(element);
            }
        } else if (element->type == MAP_ELEMENT_LINEDEF) {
            Linedef* linedef = static_cast<Linedef*>(element);
            Vertex* ends[2] = {linedef->start, linedef->end};
            for (Vertex* vertex : ends) {
                if (!vertex->moveMark) {
                    vertex->moveMark = true;
                    work.push_back(vertex);
                }
            }
        }
    }
    for (MapElement* element : selection) {
        if (element->type == MAP_ELEMENT_OBJECT) work.push_back(element);
    }

    if (work.empty() || offset == Vec2f::ZERO) return;
    ++_revision;
    for (MapElement* element : work) element->Move(offset);
}

// ---------------------------------------------------------------------------
// Properties of the highlighted element

static PropertyMap* PropertiesOf(MapElement* element)
{
    if (element->type == MAP_ELEMENT_LINEDEF) return &static_cast<Linedef*>(element)->properties;
    if (element->type == MAP_ELEMENT_OBJECT) return &static_cast<MapObject*>(element)->properties;
    return nullptr;
}

void MapArea::SetHighlightedProperty(const std::string& key, const std::string& value)
{
    if (highlighted.empty()) return;
    PropertyMap* properties = PropertiesOf(highlighted.front());
    if (properties == nullptr) return;
    ++_revision;
    properties->Set(key, value);
}

void MapArea::RemoveHighlightedProperty(const std::string& key)
{
    if (highlighted.empty()) return;
    PropertyMap* properties = PropertiesOf(highlighted.front());
    if (properties == nullptr) return;
    ++_revision;
    properties->Remove(key);
}

// ---------------------------------------------------------------------------
// Files

bool MapArea::Load(const std::string& path)
{
    ParseFile file(path.c_str());
    MapFile::Read(file.GetParseBuffer(), *this);
    // Properties are read into the elements directly.
    ++_revision;
    return true;
}

bool MapArea::Save(const std::string& path) const
{
    std::string text;
    return MapFile::Write(*this, text) && SaveTextSafely(ResolveFileName(path), text);
}

void MapArea::LoadMapByName(const std::string& mapName)
{
    Clear();
    Load(MapFilePath(mapName));
    name = mapName;
}

bool MapArea::SaveMapByName(const std::string& mapName) const
{
    return Save(MapFilePath(mapName));
}
