// ViewXY's drawing: underlay, grid, map elements in their states, status text, drag cursor.
#include <windows.h>
#include <GL/gl.h>

#include <cmath>

#include "Engine/Texture.h"
#include "Engine/TheApplication.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheRenderer.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/Grid.h"
#include "Game/MapArea.h"
#include "Game/ViewXY.h"

namespace {

const float WORLD_SIZE = 1024.0f;
// The progressions of grid lines never run past this, however the floats round.
const int MAX_GRID_STEPS = 1 << 16;

// How one kind of element is drawn in each state: plain, or a wide mark in the outer
// colour with a thin one in the inner colour on top.
struct ElementLook {
    enum Marked { SELECTED = 0, HIGHLIGHTED = 1, BOTH = 2 };
    Color EditorPreferences::*plain;
    Color EditorPreferences::*outer[3];
    Color EditorPreferences::*inner[3];
    float innerSize;
    float outerSize;
    bool isLine;
};

typedef EditorPreferences P;
#define ELEMENT_LOOK(kind, innerSize, outerSize, isLine)                                                           \
    {                                                                                                              \
        &P::kind##Colour, {&P::kind##SelectedOuter, &P::kind##HighlightOuter, &P::kind##BothOuter},                \
            {&P::kind##SelectedInner, &P::kind##HighlightInner, &P::kind##BothInner}, innerSize, outerSize, isLine \
    }
const ElementLook VERTEX_LOOK = ELEMENT_LOOK(vertex, 3.0f, 7.0f, false);
const ElementLook LINEDEF_LOOK = ELEMENT_LOOK(linedef, 1.0f, 5.0f, true);
const ElementLook OBJECT_LOOK = ELEMENT_LOOK(object, 20.0f, 22.0f, false);
#undef ELEMENT_LOOK

// One point or line of its own, with its size set just before it.
void DrawShape(bool isLine, float size, const Color& colour, const Vec2f& a, const Vec2f& b)
{
    if (isLine) {
        glLineWidth(size);
    } else {
        glPointSize(size);
    }
    theRenderer.SetColour(colour);
    glBegin(isLine ? GL_LINES : GL_POINTS);
    glVertex2f(a.x, a.y);
    if (isLine) glVertex2f(b.x, b.y);
    glEnd();
}

// b is the far end of a line and unused for points.
void DrawElement(const ElementLook& look, const MapElement& element, const Vec2f& a, const Vec2f& b)
{
    const P& preferences = *thePreferences;
    const bool highlighted = element.highlightFrame == theApplication.GetFrameNumber();
    if (!highlighted && !element.selected) {
        DrawShape(look.isLine, look.innerSize, preferences.*look.plain, a, b);
        return;
    }
    const int marked =
        highlighted ? (element.selected ? ElementLook::BOTH : ElementLook::HIGHLIGHTED) : ElementLook::SELECTED;
    DrawShape(look.isLine, look.outerSize, preferences.*look.outer[marked], a, b);
    DrawShape(look.isLine, look.innerSize, preferences.*look.inner[marked], a, b);
}

// The grid fades in between 2 and 12 pixels per cell.
Color Faded(Color colour, float cellPixels)
{
    if (cellPixels < 12.0f) colour.a = static_cast<uint8_t>((cellPixels - 2.0f) * 0.1f * 255.0f);
    return colour;
}

// SOLVE's fastest win: a colour no element, grid or cursor uses.
const Color SOLUTION_PATH_COLOUR(64, 255, 96, 255);
const float SOLUTION_PATH_WIDTH = 2.0f;

// The multiples of step from first to at most last.
int StepCount(float first, float last, float step)
{
    const double count = std::floor((double(last) - double(first)) / double(step)) + 1.0;
    if (!(count >= 1.0)) return 0;
    return count > MAX_GRID_STEPS ? MAX_GRID_STEPS : static_cast<int>(count);
}

}  // namespace

void ViewXY::Draw()
{
    if (!visible) return;
    theRenderer.Clear(backgroundColor * 0.5f);
    const Vec2i size = GetSize();
    if (size.x >= 1 && size.y >= 1) {
        theRenderer.SetOrtho(Vec2f(visibleMin.x, visibleMax.y), Vec2f(visibleMax.x, visibleMin.y));
    } else {
        theRenderer.SetOrtho(Vec2f::ZERO, Vec2f::ONE);
    }
    _DrawUnderlay();
    _DrawGrid();
    _DrawElements();
    _DrawStatus();
    _DrawDragCursor();
    _DrawSelectionBox();
}

void ViewXY::_DrawUnderlay() const
{
    if (theEditorShell == nullptr || theEditorShell->underlay == nullptr) return;
    const uint8_t grey = static_cast<uint8_t>(theEditorShell->underlayAlpha * 255.0f);
    theRenderer.DrawTexturedQuad(*theEditorShell->underlay, Vec2f(0.0f, 0.0f), Vec2f(WORLD_SIZE, WORLD_SIZE), 0.0f,
                                 Vec2f::ONE, Color(grey, grey, grey, 255), true, false);
}

void ViewXY::_DrawGrid() const
{
    const P& preferences = *thePreferences;
    const Vec2f cursor = MouseSnappedWorld();
    theRenderer.SetColour(preferences.cursorColour);
    glPointSize(3.0f);
    glBegin(GL_POINTS);
    glVertex2f(cursor.x, cursor.y);
    glEnd();

    if (gridDisplay == GRID_NONE) return;

    // One cell beyond the visible rectangle on every side.
    const float s = grid->size;
    const bool hasCells = s > 0.0f;
    const float x0 = hasCells ? std::ceil(visibleMin.x / s) * s - s : 0.0f;
    const float y0 = hasCells ? std::ceil(visibleMin.y / s) * s - s : 0.0f;
    const float x1 = hasCells ? std::floor(visibleMax.x / s) * s + s : 0.0f;
    const float y1 = hasCells ? std::floor(visibleMax.y / s) * s + s : 0.0f;
    const int columns = hasCells ? StepCount(x0, x1, s) : 0;
    const int rows = hasCells ? StepCount(y0, y1, s) : 0;
    const float cellPixels = CellPixels();

    if (gridDisplay == GRID_LINES) {
        theRenderer.DrawCircle(Vec2f(0.0f, 0.0f), 8.0f, preferences.gridColour1, 16);
        if (cellPixels > 2.0f) {
            theRenderer.SetColour(Faded(preferences.gridColour1, cellPixels));
            glLineWidth(1.0f);
            glBegin(GL_LINES);
            for (int i = 0; i < columns; ++i) {
                const float x = x0 + float(i) * s;
                glVertex2f(x, y0);
                glVertex2f(x, y1);
            }
            for (int j = 0; j < rows; ++j) {
                const float y = y0 + float(j) * s;
                glVertex2f(x0, y);
                glVertex2f(x1, y);
            }
            glEnd();
        }
    } else if (gridDisplay == GRID_DOTS && cellPixels > 2.0f) {
        theRenderer.SetColour(Faded(preferences.gridColour2, cellPixels));
        glPointSize(1.0f);
        glBegin(GL_POINTS);
        for (int i = 0; i < columns; ++i) {
            for (int j = 0; j < rows; ++j) glVertex2f(x0 + float(i) * s, y0 + float(j) * s);
        }
        glEnd();
    }

    // The map's own square, dashed.
    glLineWidth(1.0f);
    glLineStipple(3, 0x8888);
    glEnable(GL_LINE_STIPPLE);
    theRenderer.SetColour(Color::TEAL);
    glBegin(GL_LINE_LOOP);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(WORLD_SIZE, 0.0f);
    glVertex2f(WORLD_SIZE, WORLD_SIZE);
    glVertex2f(0.0f, WORLD_SIZE);
    glEnd();
    glDisable(GL_LINE_STIPPLE);
}

void ViewXY::_DrawElements() const
{
    if (theMapArea == nullptr) return;
    for (const Vertex* vertex : theMapArea->GetVertexes())
        DrawElement(VERTEX_LOOK, *vertex, vertex->position, vertex->position);
    for (const Linedef* linedef : theMapArea->GetLinedefs())
        DrawElement(LINEDEF_LOOK, *linedef, linedef->start->position, linedef->end->position);
    if (chainStart != nullptr && chainCursor != nullptr)
        DrawShape(true, 2.0f, thePreferences->chainColour, chainStart->position, chainCursor->position);
    for (const MapObject* object : theMapArea->GetObjects())
        DrawElement(OBJECT_LOOK, *object, object->position, object->position);
    _DrawSolutionPath();
}

void ViewXY::_DrawSolutionPath() const
{
    const std::vector<Vec2f>* path = theEditorShell ? theEditorShell->solver.PathFor(theMapArea) : nullptr;
    if (path == nullptr) return;
    glLineWidth(SOLUTION_PATH_WIDTH);
    theRenderer.SetColour(SOLUTION_PATH_COLOUR);
    glBegin(GL_LINE_STRIP);
    for (const Vec2f& point : *path) glVertex2f(point.x, point.y);
    glEnd();
}

void ViewXY::_DrawStatus() const
{
    const std::string text = StatusText();
    const Vec2f worldPoint = MouseWorld();
    const Vec2f gridPoint = MouseSnappedWorld();
    theRenderer.PushMatrix();
    theRenderer.SetOrtho(Vec2f(float(topLeft.x), float(topLeft.y)), Vec2f(float(bottomRight.x), float(bottomRight.y)));
    theRenderer.SetColour(Color::WHITE);
    const float middle = (float(topLeft.x) + float(bottomRight.x)) * 0.5f;
    const float length = float(text.size());
    const float bottom = float(bottomRight.y);
    theRenderer.DrawText(middle - 5.0f * length, bottom - 20.0f, "MouseWorld = (%g, %g), MouseGrid = (%g, %g)",
                         worldPoint.x, worldPoint.y, gridPoint.x, gridPoint.y);
    theRenderer.DrawText(middle - 2.5f * length, bottom - 4.0f, "%s", text.c_str());
    theRenderer.DrawText(float(topLeft.x) + 5.0f, float(topLeft.y) + 10.0f, "2d View");
    theRenderer.PopMatrix();
}

void ViewXY::_DrawDragCursor() const
{
    if (interaction != INTERACTION_PANNING && interaction != INTERACTION_ZOOMING) return;
    const Vec2i mouse = theInputSystem.GetMousePosition();
    const float x = float(mouse.x), y = float(mouse.y);
    auto stroke = [x, y](float ax, float ay, float bx, float by) {
        glVertex2f(x + ax, y + ay);
        glVertex2f(x + bx, y + by);
    };
    theRenderer.PushMatrix();
    theRenderer.SetOrtho(Vec2f(float(topLeft.x), float(topLeft.y)), Vec2f(float(bottomRight.x), float(bottomRight.y)));
    theRenderer.SetColour(thePreferences->rubberBandColour);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    if (interaction == INTERACTION_ZOOMING) {
        stroke(-12, -12, 12, -12);
        stroke(12, -12, -12, 12);
        stroke(-12, 12, 12, 12);
        stroke(-6, 0, 6, 0);
    } else {
        // A four-way arrow: two strokes crossing at the mouse, each end with a head pointing out.
        stroke(-16, 0, 16, 0);
        stroke(0, -16, 0, 16);
        for (float sign = -1.0f; sign <= 1.0f; sign += 2.0f) {
            stroke(16 * sign, 0, 12 * sign, -4);
            stroke(16 * sign, 0, 12 * sign, 4);
            stroke(0, 16 * sign, -4, 12 * sign);
            stroke(0, 16 * sign, 4, 12 * sign);
        }
    }
    glEnd();
    theRenderer.PopMatrix();
}

// In world coordinates, where the view's mapping is still set.
void ViewXY::_DrawSelectionBox() const
{
    if (!boxActive) return;
    const Vec2f minimum(std::fmin(boxStart.x, boxEnd.x), std::fmin(boxStart.y, boxEnd.y));
    const Vec2f maximum(std::fmax(boxStart.x, boxEnd.x), std::fmax(boxStart.y, boxEnd.y));
    glLineWidth(1.0f);
    theRenderer.DrawRect(minimum, maximum, thePreferences->rubberBandColour, false);
}
