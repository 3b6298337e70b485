// ViewXY's editing: the per-frame mouse work (drag, pan, zoom, hover picking) and the
// key, button and wheel events of each edit mode.
#include <windows.h>

#include <cfloat>
#include <cmath>

#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheInputSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/Grid.h"
#include "Game/MapArea.h"
#include "Game/ViewXY.h"

namespace {

const uint8_t LEFT_BUTTON = VK_LBUTTON;
const uint8_t RIGHT_BUTTON = VK_RBUTTON;
const uint8_t SHIFT_KEY = VK_SHIFT;
const uint8_t CONTROL_KEY = VK_CONTROL;
const uint8_t DELETE_KEY = VK_DELETE;
const uint8_t ESCAPE_KEY = VK_ESCAPE;
const uint8_t COMMA_KEY = 0xBC;
const uint8_t PERIOD_KEY = 0xBE;
const uint8_t HALVE_GRID_KEY = 0xDB;   // '['
const uint8_t DOUBLE_GRID_KEY = 0xDD;  // ']'

const float ZOOM_OUT_STEP = 1.01f;
const float ZOOM_IN_STEP = 0.990099f;  // the float nearest 1 / 1.01
// A chain segment shorter than this would be a zero-length linedef.
const float SAME_POINT_DISTANCE_SQUARED = 0.25f;
const char* const TEST_UNDERLAY = "data/UnderlayTest.tga";
// The comma and period keys dim and brighten the underlay by this much.
const float UNDERLAY_ALPHA_STEP = 0.1f;

// On a tie the second value wins.
float Smaller(float a, float b)
{
    return a < b ? a : b;
}

float Clamp01(float value)
{
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}

bool MapHolds(const MapElement* element)
{
    if (theMapArea == nullptr) return false;
    for (const Vertex* vertex : theMapArea->GetVertexes())
        if (vertex == element) return true;
    for (const Linedef* linedef : theMapArea->GetLinedefs())
        if (linedef == element) return true;
    for (const MapObject* object : theMapArea->GetObjects())
        if (object == element) return true;
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Per frame

void ViewXY::Update()
{
    interaction = INTERACTION_NONE;
    UpdateVisibleRect();
    if (!hasMouse || !theInputSystem.IsKeyDown(LEFT_BUTTON)) {
        // The mouse left the view, or the button went up where the view didn't see it: the
        // drag ends as a release ends it, so nothing it selected for itself stays selected.
        if (leftDragActive) _EndLeftDrag();
        leftDragActive = false;
    }
    if (hasMouse && theInputSystem.GetMouseDelta() != Vec2i::ZERO) {
        const bool pressedHere = leftClickPending;
        leftClickPending = false;
        rightClickPending = false;
        if (theInputSystem.IsKeyDown(LEFT_BUTTON) && !leftDragActive) _BeginLeftDrag(pressedHere);
    }
    if (theMapArea == nullptr || !hasMouse) return;
    switch (EditMode) {
    case EDIT_MAP_ELEMENTS:
        _EditModeFrame();
        break;
    case LINE_CHAIN_CREATION:
        _ChainModeFrame();
        break;
    default:
        break;
    }
}

void ViewXY::_BeginLeftDrag(bool pressedHere)
{
    leftDragActive = true;
    lastDragPosition = MouseSnappedWorld();
    dragElement = nullptr;
    boxActive = false;
    if (theMapArea == nullptr) return;
    if (theMapArea->GetHighlighted().empty()) {
        // Moving an empty selection would do nothing, so the drag draws a box instead; Ctrl
        // asks for the box whatever is selected.
        const bool box = theMapArea->SelectedCount() == 0 || theInputSystem.IsKeyDown(CONTROL_KEY);
        if (EditMode != EDIT_MAP_ELEMENTS || !box) return;
        boxActive = true;
        boxStart = pressedHere ? leftPressWorld : MouseWorld();
        boxEnd = MouseWorld();
        return;
    }
    dragElement = theMapArea->GetHighlighted().front();
    dragElementWasSelected = dragElement->selected;
    // It moves with the selection.
    if (!dragElementWasSelected) theMapArea->Select(dragElement);
}

void ViewXY::_EditModeFrame()
{
    if (leftDragActive) _DragStep();
    _RightButtonStep();
    _Hover();
}

void ViewXY::_ChainModeFrame()
{
    _RightButtonStep();
    // The rubber band follows the snapped mouse.
    if (chainCursor != nullptr) chainCursor->position = MouseSnappedWorld();
}

void ViewXY::_RightButtonStep()
{
    if (!theInputSystem.IsKeyDown(RIGHT_BUTTON)) return;
    if (theInputSystem.IsKeyDown(SHIFT_KEY)) {
        _ZoomStep();
    } else {
        _PanStep();
    }
}

// A dragged vertex jumps onto the snapped mouse; anything else moves the whole selection
// in whole grid steps.
void ViewXY::_DragStep()
{
    if (boxActive) {
        boxEnd = MouseWorld();
        return;
    }
    if (theInputSystem.GetMouseDelta() == Vec2i::ZERO) return;
    const Vec2f p = MouseSnappedWorld();
    const Vec2f offset = (dragElement != nullptr && dragElement->type == MAP_ELEMENT_VERTEX)
                             ? p - static_cast<Vertex*>(dragElement)->position
                             : p - lastDragPosition;
    if (offset == Vec2f::ZERO) return;
    theMapArea->MoveSelection(offset);
    lastDragPosition = p;
}

// Without inversion the map follows the mouse.
void ViewXY::_PanStep()
{
    interaction = INTERACTION_PANNING;
    const Vec2i delta = theInputSystem.GetMouseDelta();
    const EditorPreferences& preferences = *thePreferences;
    float ox = -float(delta.x) * preferences.panSpeed;
    float oy = float(delta.y) * preferences.panSpeed;
    if (preferences.invertPanX) ox = -ox;
    if (preferences.invertPanY) oy = -oy;
    centre += Vec2f(zoom * ox, zoom * oy);
    UpdateVisibleRect();
}

// Moving the mouse down zooms out, about the world point under the mouse.
void ViewXY::_ZoomStep()
{
    interaction = INTERACTION_ZOOMING;
    const Vec2i pixel = theInputSystem.GetMousePosition();
    const Vec2f worldPoint = ScreenToWorld(pixel);
    const int32_t n = theInputSystem.GetMouseDelta().y;
    for (int32_t i = 0; i < n && zoom * ZOOM_OUT_STEP <= MAX_ZOOM; ++i) zoom *= ZOOM_OUT_STEP;
    for (int32_t i = 0; i < -n && zoom * ZOOM_IN_STEP >= MIN_ZOOM; ++i) zoom *= ZOOM_IN_STEP;
    UpdateVisibleRect();
    KeepWorldPointUnderPixel(worldPoint, pixel);
}

// Objects and vertexes close to the cursor win at any zoom; further out, within a radius
// that grows with the zoom, the nearest of all three kinds wins.
void ViewXY::_Hover()
{
    MapArea& map = *theMapArea;
    if (leftDragActive && EditMode == EDIT_MAP_ELEMENTS) {
        map.ClearHighlights();
        if (dragElement != nullptr) map.Highlight(dragElement);
        return;
    }
    map.ClearHighlights();
    const EditorPreferences& preferences = *thePreferences;
    const Vec2f m = MouseWorld();
    const float closeSquared = preferences.pickRadius * preferences.pickRadius;
    const float reach = preferences.pickRadiusPixels * zoom;
    const float reachSquared = reach * reach;

    float objectDistance = FLT_MAX, vertexDistance = FLT_MAX, linedefDistance = FLT_MAX;
    MapObject* object = map.NearestObject(m.x, m.y, objectDistance);
    Vertex* vertex = map.NearestVertex(m.x, m.y, vertexDistance);
    Linedef* linedef = map.NearestLinedef(m.x, m.y, linedefDistance);

    if (object != nullptr && objectDistance < closeSquared) {
        map.Highlight(object);
        return;
    }
    if (vertex != nullptr && vertexDistance < closeSquared) {
        map.Highlight(vertex);
        return;
    }
    if (objectDistance > reachSquared) object = nullptr;
    if (vertexDistance > reachSquared) vertex = nullptr;
    if (linedefDistance > reachSquared) linedef = nullptr;

    const float best = objectDistance < linedefDistance ? Smaller(objectDistance, vertexDistance)
                                                        : Smaller(linedefDistance, vertexDistance);
    if (object != nullptr && objectDistance == best) {
        map.Highlight(object);
    } else if (linedef != nullptr && linedefDistance == best) {
        map.Highlight(linedef);
    } else if (vertex != nullptr && vertexDistance == best) {
        map.Highlight(vertex);
    }
}

// A release: the box selects what is inside it; an element dragged without being selected
// before is deselected again.
void ViewXY::_EndLeftDrag()
{
    if (boxActive) {
        boxEnd = MouseWorld();
        _SelectInBox();
    }
    if (dragElement != nullptr && !dragElementWasSelected && theMapArea != nullptr) theMapArea->Deselect(dragElement);
    dragElement = nullptr;
    boxActive = false;
    leftDragActive = false;
}

// Linedefs with both ends inside, and objects; vertexes are never selected.
void ViewXY::_SelectInBox()
{
    if (theMapArea == nullptr) return;
    const Vec2f low(std::fmin(boxStart.x, boxEnd.x), std::fmin(boxStart.y, boxEnd.y));
    const Vec2f high(std::fmax(boxStart.x, boxEnd.x), std::fmax(boxStart.y, boxEnd.y));
    auto inside = [&low, &high](const Vec2f& p) {
        return p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y;
    };
    for (Linedef* linedef : theMapArea->GetLinedefs())
        if (inside(linedef->start->position) && inside(linedef->end->position)) theMapArea->Select(linedef);
    for (MapObject* object : theMapArea->GetObjects())
        if (inside(object->position)) theMapArea->Select(object);
}

// ---------------------------------------------------------------------------
// Events

bool ViewXY::HandleInputEvent(int32_t type, uint8_t code)
{
    // Wheel events carry a notch count as their code, so one notch ends a drag here too.
    if (code == LEFT_BUTTON) {
        if (leftDragActive && type == KEY_RELEASED) _EndLeftDrag();
        leftDragActive = false;
        boxActive = false;
    }
    if (theMapArea == nullptr) return false;

    bool consumed = false;
    switch (EditMode) {
    case EDIT_MAP_ELEMENTS:
        consumed = _HandleEditMapElements(type, code);
        break;
    case LINE_CHAIN_CREATION:
        consumed = _HandleLineChainCreation(type, code);
        break;
    case EDIT_ELEMENT_PROPERTIES:
        consumed = _HandleEditElementProperties(type, code);
        break;
    default:
        break;
    }
    if (consumed) return true;
    return _HandleCommonKeys(type, code);
}

bool ViewXY::_HandleEditMapElements(int32_t type, uint8_t code)
{
    if (code == RIGHT_BUTTON) return _HandleEditRightButton(type);
    if (code == LEFT_BUTTON) return _HandleEditLeftButton(type);
    return _HandleEditKey(type, code);
}

// Held, the right button pans or zooms without the cursor in the way; a double-click places an
// object.
bool ViewXY::_HandleEditRightButton(int32_t type)
{
    switch (type) {
    case KEY_PRESSED:
        theInputSystem.SetCursorVisible(false);
        return true;
    case KEY_RELEASED:
        theInputSystem.SetCursorVisible(true);
        return true;
    case KEY_REPEATED:
        EditMode = EDIT_MAP_ELEMENTS;
        editList.clear();
        editList.push_back(theMapArea->AddObject(MouseSnappedWorld()));
        return true;
    default:
        return false;
    }
}

// A click (press and release with no movement between) toggles the highlighted element's
// selection; a double-click starts a line chain.
bool ViewXY::_HandleEditLeftButton(int32_t type)
{
    switch (type) {
    case KEY_REPEATED:
        _StartChain();
        return true;
    case KEY_PRESSED:
        leftClickPending = true;
        leftPressWorld = MouseWorld();
        return true;
    case KEY_RELEASED:
        if (leftClickPending) {
            leftClickPending = false;
            theMapArea->ToggleHighlightedSelection();
        }
        return true;
    default:
        return false;
    }
}

bool ViewXY::_HandleEditKey(int32_t type, uint8_t code)
{
    if (type != KEY_PRESSED) return false;
    switch (code) {
    case DELETE_KEY:
        theMapArea->DeleteSelection();
        _ForgetRemovedElements();
        return true;
    case ESCAPE_KEY:
        theMapArea->ClearSelection();
        return true;
    case 'U':
        if (theEditorShell != nullptr) theEditorShell->SetUnderlay(TEST_UNDERLAY);
        return true;
    case COMMA_KEY:
        _ChangeUnderlayAlpha(-UNDERLAY_ALPHA_STEP);
        return true;
    case PERIOD_KEY:
        _ChangeUnderlayAlpha(UNDERLAY_ALPHA_STEP);
        return true;
    default:
        return false;
    }
}

void ViewXY::_ChangeUnderlayAlpha(float change)
{
    if (theEditorShell != nullptr) theEditorShell->underlayAlpha = Clamp01(theEditorShell->underlayAlpha + change);
}

// A right click without moving places a last segment and finishes; a right drag pans or
// zooms and keeps the chain going.
bool ViewXY::_HandleLineChainCreation(int32_t type, uint8_t code)
{
    if (code == RIGHT_BUTTON && type == KEY_PRESSED) {
        theInputSystem.SetCursorVisible(false);
        rightClickPending = true;
        return true;
    }
    if (code == RIGHT_BUTTON && type == KEY_RELEASED) {
        theInputSystem.SetCursorVisible(true);
        if (rightClickPending) {
            rightClickPending = false;
            _AddChainSegment();
            _EndChain();
        }
        return true;
    }
    if (code == LEFT_BUTTON && type == KEY_PRESSED) {
        _AddChainSegment();
        return true;
    }
    if (code == ESCAPE_KEY && type == KEY_PRESSED) {
        _EndChain();
        return true;
    }
    return false;
}

bool ViewXY::_HandleEditElementProperties(int32_t type, uint8_t code)
{
    if (code != ESCAPE_KEY || type != KEY_PRESSED) return false;
    EditMode = EDIT_MAP_ELEMENTS;
    editList.clear();
    return true;
}

bool ViewXY::_HandleCommonKeys(int32_t type, uint8_t code)
{
    if (type != KEY_PRESSED) return false;
    switch (code) {
    case 'G':
        gridDisplay = (gridDisplay + 1) % 3;
        return true;
    case 'S':
        grid->snap = !grid->snap;
        return true;
    case HALVE_GRID_KEY:
        grid->Halve();
        return true;
    case DOUBLE_GRID_KEY:
        grid->Double();
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Line chains

// An existing vertex within 0.5 of the snapped point starts the chain; the floating cursor
// vertex is always new.
void ViewXY::_StartChain()
{
    EditMode = LINE_CHAIN_CREATION;
    const Vec2f p = MouseSnappedWorld();
    const size_t before = theMapArea->GetVertexes().size();
    chainStart = theMapArea->AddVertex(p, false);
    chainMadeStart = theMapArea->GetVertexes().size() != before;
    chainCursor = theMapArea->AddVertex(p, true);
}

// Ending on an existing vertex joins the chain to it, which closes a loop on its first vertex.
void ViewXY::_AddChainSegment()
{
    if (chainStart == nullptr || chainCursor == nullptr) return;
    const Vec2f gap = chainCursor->position - chainStart->position;
    if (gap.x * gap.x + gap.y * gap.y < SAME_POINT_DISTANCE_SQUARED) return;
    Vertex* end = theMapArea->MergeVertex(chainCursor);
    chainCursor = end;
    theMapArea->AddLinedef(chainStart, end);
    chainStart = end;
    chainCursor = theMapArea->AddVertex(MouseSnappedWorld(), true);
}

void ViewXY::_EndChain()
{
    if (chainCursor != nullptr) theMapArea->RemoveVertex(chainCursor);
    // A vertex the chain started on stays: nothing else in the editor could make it again.
    if (chainStart != nullptr && chainMadeStart && chainStart->linedefs.empty()) theMapArea->RemoveVertex(chainStart);
    ResetEditorState();
    _ForgetRemovedElements();
}

// Deleting and ending a chain can take away the element being dragged or chosen for editing.
void ViewXY::_ForgetRemovedElements()
{
    if (dragElement != nullptr && !MapHolds(dragElement)) dragElement = nullptr;
    editList.remove_if([](const MapElement* element) { return !MapHolds(element); });
}

void ViewXY::ForgetMapElements()
{
    leftDragActive = false;
    boxActive = false;
    dragElement = nullptr;
    editList.clear();
}
