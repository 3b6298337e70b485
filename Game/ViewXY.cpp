#include "Game/ViewXY.h"

#include "Engine/AssertionFailure.h"
#include "Engine/TheConsole.h"
#include "Engine/TheInputSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/Grid.h"

int32_t EditMode = EDIT_MAP_ELEMENTS;
Vertex* chainStart = nullptr;
Vertex* chainCursor = nullptr;
bool chainMadeStart = false;

void ResetEditorState()
{
    EditMode = EDIT_MAP_ELEMENTS;
    chainStart = nullptr;
    chainCursor = nullptr;
    chainMadeStart = false;
}

// The visible world is 128 x zoom units wide: 64 x zoom either side of the centre.
static const float HALF_WIDTH_PER_ZOOM = 64.0f;

ViewXY::ViewXY() : grid(new Grid())
{
    if (thePreferences != nullptr) backgroundColor = thePreferences->viewColour;
    theConsole.Printf("Constructing ViewXY #%u\n", InstanceNumber(this));
}

ViewXY::~ViewXY()
{
    delete grid;
}

void ViewXY::UpdateVisibleRect()
{
    const Vec2i size = GetSize();
    const float aspect = size.x < 1 ? 1.0f : float(size.y) / float(size.x);
    const Vec2f half(HALF_WIDTH_PER_ZOOM * zoom, HALF_WIDTH_PER_ZOOM * zoom * aspect);
    visibleMin = centre - half;
    visibleMax = centre + half;
}

Vec2f ViewXY::ScreenToWorld(const Vec2i& pixel) const
{
    // A view one pixel across maps everything to its minimum corner rather than divide by zero.
    const int32_t width = bottomRight.x - topLeft.x;
    const int32_t height = bottomRight.y - topLeft.y;
    const float tx = width == 0 ? 0.0f : float(pixel.x - topLeft.x) / float(width);
    const float ty = 1.0f - (height == 0 ? 1.0f : float(pixel.y - topLeft.y) / float(height));
    return Vec2f(visibleMin.x + (visibleMax.x - visibleMin.x) * tx, visibleMin.y + (visibleMax.y - visibleMin.y) * ty);
}

Vec2f ViewXY::ScreenToSnappedWorld(const Vec2i& pixel) const
{
    return grid->Snap(ScreenToWorld(pixel));
}

Vec2f ViewXY::MouseWorld() const
{
    return ScreenToWorld(theInputSystem.GetMousePosition());
}

Vec2f ViewXY::MouseSnappedWorld() const
{
    return ScreenToSnappedWorld(theInputSystem.GetMousePosition());
}

void ViewXY::KeepWorldPointUnderPixel(const Vec2f& worldPoint, const Vec2i& pixel)
{
    centre += worldPoint - ScreenToWorld(pixel);
    UpdateVisibleRect();
}

float ViewXY::CellPixels() const
{
    return float(GetSize().x) * grid->size / (visibleMax.x - visibleMin.x);
}

std::string ViewXY::StatusText() const
{
    static const char* const MODE_NAMES[] = {"Edit Map Elements", "Line Chain Creation", "Edit Element Properties"};
    const char* modeName = (EditMode >= 0 && EditMode <= 2) ? MODE_NAMES[EditMode] : "UNKNOWN!";
    char text[1024];
    SafeFormat(text, sizeof(text), "Grid = %g%s, Mode = %s", grid->size, grid->snap ? "" : "(off)", modeName);
    return text;
}
