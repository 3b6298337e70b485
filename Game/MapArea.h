// One map: its vertexes, linedefs and objects, the editor's highlighted and selected
// elements, the vertex-linedef links and the nearest-element queries; MapFile reads and
// writes its .map text.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "Engine/Vector.h"
#include "Game/Linedef.h"
#include "Game/MapElement.h"
#include "Game/MapObject.h"
#include "Game/Vertex.h"

class MapArea {
public:
    typedef std::list<Vertex*> VertexList;
    typedef std::list<Linedef*> LinedefList;
    typedef std::list<MapObject*> ObjectList;
    typedef std::list<MapElement*> ElementList;

    MapArea();
    // Loads "data/maps/" + name + ".map"; with flipY every point read has y mirrored as 1024 - y.
    MapArea(const std::string& name, bool flipY);
    // Destroys whatever elements are still held.
    virtual ~MapArea();

    MapArea(const MapArea&) = delete;
    MapArea& operator=(const MapArea&) = delete;

    static std::string MapFilePath(const std::string& name);

    // Element management. Removal cascades: a vertex takes its linedefs with it, and a
    // linedef takes the end vertexes it leaves without any linedef. Elements of another
    // map area are ignored.
    Vertex* AddVertex(const Vec2f& position, bool force);
    Linedef* AddLinedef(Vertex* start, Vertex* end);
    MapObject* AddObject(const Vec2f& position);
    void RemoveVertex(Vertex* vertex, Linedef* exceptLinedef = nullptr);
    void RemoveLinedef(Linedef* linedef, Vertex* exceptVertex = nullptr);
    void RemoveObject(MapObject* object);
    Vertex* MergeVertex(Vertex* vertex);
    void RemoveElement(MapElement* element);
    void Clear();

    // Lookup. With nothing to find the nearest queries give null and the largest float.
    Vertex* VertexByIndex(int32_t index) const;
    int32_t IndexOfVertex(const Vertex* vertex) const;
    Vertex* NearestVertex(float x, float y, float& distanceSquared) const;
    Linedef* NearestLinedef(float x, float y, float& distanceSquared) const;
    MapObject* NearestObject(float x, float y, float& distanceSquared) const;
    int32_t SelectedCount() const { return static_cast<int32_t>(selection.size()); }
    int32_t SelectedCountOfType(MapElementType elementType) const;

    void ClearHighlights();
    void Highlight(MapElement* element);

    void ClearSelection();
    void Select(MapElement* element);
    void Deselect(MapElement* element);
    void ToggleHighlightedSelection();
    void DeleteSelection();
    void MoveSelection(const Vec2f& offset);

    void SetHighlightedProperty(const std::string& key, const std::string& value);
    void RemoveHighlightedProperty(const std::string& key);

    // Load adds to what the map already holds; a bad file is a fatal syntax error.
    bool Load(const std::string& path);
    // False, leaving any file already at path as it was, when the map cannot be written.
    bool Save(const std::string& path) const;
    void LoadMapByName(const std::string& mapName);
    bool SaveMapByName(const std::string& mapName) const;

    const VertexList& GetVertexes() const { return vertexes; }
    const LinedefList& GetLinedefs() const { return linedefs; }
    const ObjectList& GetObjects() const { return objects; }
    const ElementList& GetHighlighted() const { return highlighted; }
    const ElementList& GetSelection() const { return selection; }
    bool GetFlipY() const { return flipY; }
    const std::string& GetName() const { return name; }
    void SetName(const std::string& mapName) { name = mapName; }
    // Grows with every change to what the map's file would hold (elements added, removed,
    // moved or merged, properties set or removed, the map cleared or loaded); the name,
    // highlights and selection do not count.
    uint64_t GetRevision() const { return _revision; }

private:
    bool _Owns(const MapElement* element) const { return element != nullptr && element->_area == this; }
    void _DetachLinedefFromVertex(Linedef* linedef, Vertex* vertex, LinedefList::iterator entry);
    void _Destroy(MapElement* element);
    template <typename T>
    void _AddToArray(std::vector<T*>& array, T* element);
    template <typename T>
    void _RemoveFromArray(std::vector<T*>& array, T* element);
    template <typename T, typename Distance>
    static T* _Nearest(const std::vector<T*>& array, Distance distance, float& distanceSquared);

    VertexList vertexes;
    LinedefList linedefs;
    ObjectList objects;
    ElementList highlighted;
    ElementList selection;
    bool flipY = false;
    std::string name;

    // The same elements as the lists, packed for the nearest-element scans, which would
    // otherwise wait on every list link in turn.
    std::vector<Vertex*> _vertexArray;
    std::vector<Linedef*> _linedefArray;
    std::vector<MapObject*> _objectArray;
    uint64_t _nextSequence = 0;
    uint64_t _revision = 0;
};
