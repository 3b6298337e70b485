// The editor's top-down view of the map ("2d View"): world y points up, the whole view
// width shows 128 x zoom map units around the centre. It draws the underlay, the grid and
// every element, and it is where the map is edited with the mouse and keys.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "Game/ViewBase.h"

class Grid;
class MapElement;
class Vertex;

// Editor-wide state: one value for the whole editor, reset whenever the editor is built or
// closed, so nothing is left pointing at the elements of a map that is gone.
enum EditModeValue : int32_t {
    EDIT_MAP_ELEMENTS = 0,
    LINE_CHAIN_CREATION = 1,
    EDIT_ELEMENT_PROPERTIES = 2,
};
extern int32_t EditMode;
// The last fixed vertex of the line chain being drawn, and the floating vertex that follows
// the mouse; both null outside LINE_CHAIN_CREATION.
extern Vertex* chainStart;
extern Vertex* chainCursor;
// Whether the chain made its start vertex (rather than start on an existing one): a chain
// ended before its first segment takes away only a vertex it made.
extern bool chainMadeStart;
void ResetEditorState();

class ViewXY : public ViewBase {
public:
    enum Interaction : int32_t { INTERACTION_NONE = 0, INTERACTION_PANNING = 1, INTERACTION_ZOOMING = 2 };
    enum GridDisplay : int32_t { GRID_NONE = 0, GRID_LINES = 1, GRID_DOTS = 2 };

    ViewXY();
    ~ViewXY() override;

    void Draw() override;
    void Update() override;
    bool HandleInputEvent(int32_t type, uint8_t code) override;
    void ForgetMapElements() override;
    bool IsDragging() const override { return leftDragActive; }

    // Coordinates. Pixels are window client pixels; the view's left edge pixel maps to the
    // visible minimum x, its top pixel to the maximum y.
    void UpdateVisibleRect();
    Vec2f ScreenToWorld(const Vec2i& pixel) const;
    Vec2f ScreenToSnappedWorld(const Vec2i& pixel) const;
    Vec2f MouseWorld() const;
    Vec2f MouseSnappedWorld() const;
    // Moves the centre so that the world point shows at the pixel again.
    void KeepWorldPointUnderPixel(const Vec2f& worldPoint, const Vec2i& pixel);
    // The width of one grid cell in pixels.
    float CellPixels() const;
    // "Grid = 64, Mode = Edit Map Elements"
    std::string StatusText() const;

    Vec2f centre = Vec2f(512.0f, 512.0f);
    Vec2f visibleMin;
    Vec2f visibleMax;
    Vec2f lastDragPosition;
    float zoom = 12.0f;
    Grid* grid = nullptr;
    int32_t gridDisplay = GRID_LINES;
    int32_t interaction = INTERACTION_NONE;
    // A button went down and the mouse has not moved since.
    bool leftClickPending = false;
    bool rightClickPending = false;
    bool leftDragActive = false;
    MapElement* dragElement = nullptr;
    bool dragElementWasSelected = false;
    // A left drag that started where nothing was highlighted, with nothing selected or with
    // Ctrl down, draws a box from where the button went down; its release selects the
    // linedefs and objects inside.
    bool boxActive = false;
    Vec2f boxStart;
    Vec2f boxEnd;
    Vec2f leftPressWorld;
    // Elements chosen for property editing (not owned).
    std::list<MapElement*> editList;

    // Where float arithmetic on the visible rectangle still holds.
    static constexpr float MIN_ZOOM = 1e-30f;
    static constexpr float MAX_ZOOM = 1e30f;

private:
    // Drawing (ViewXYDrawing.cpp).
    void _DrawUnderlay() const;
    void _DrawGrid() const;
    void _DrawElements() const;
    void _DrawSolutionPath() const;
    void _DrawStatus() const;
    void _DrawDragCursor() const;
    void _DrawSelectionBox() const;

    // Editing (ViewXYEditing.cpp).
    void _BeginLeftDrag(bool pressedHere);
    void _EndLeftDrag();
    void _SelectInBox();
    void _EditModeFrame();
    void _ChainModeFrame();
    void _RightButtonStep();
    void _DragStep();
    void _PanStep();
    void _ZoomStep();
    void _Hover();
    bool _HandleEditMapElements(int32_t type, uint8_t code);
    bool _HandleEditRightButton(int32_t type);
    bool _HandleEditLeftButton(int32_t type);
    bool _HandleEditKey(int32_t type, uint8_t code);
    void _ChangeUnderlayAlpha(float change);
    bool _HandleLineChainCreation(int32_t type, uint8_t code);
    bool _HandleEditElementProperties(int32_t type, uint8_t code);
    bool _HandleCommonKeys(int32_t type, uint8_t code);
    void _StartChain();
    void _AddChainSegment();
    void _EndChain();
    void _ForgetRemovedElements();
};
