// The polymorphic base of the editor's views: a rectangle in window pixels, whether the
// mouse is over it, a background colour, and the three operations a pane calls.
#pragma once

#include <cstdint>

#include "Engine/Color.h"
#include "Engine/Vector.h"

class ViewBase {
public:
    ViewBase();
    virtual ~ViewBase();

    ViewBase(const ViewBase&) = delete;
    ViewBase& operator=(const ViewBase&) = delete;

    // The pane has set the viewport and scissor to the view's rectangle.
    virtual void Draw();
    virtual void Update() {}
    // True when the event was consumed.
    virtual bool HandleInputEvent(int32_t type, uint8_t code);
    // The map's elements were all replaced: drop every pointer to them.
    virtual void ForgetMapElements() {}
    // A change in the making that is one step when it is done (a left drag).
    virtual bool IsDragging() const { return false; }

    Vec2i GetSize() const { return bottomRight - topLeft + Vec2i(1, 1); }

    bool visible = true;
    Color backgroundColor = Color(64, 64, 64, 255);
    // Inclusive corners in window pixels, y downward; set by the pane.
    Vec2i topLeft;
    Vec2i bottomRight;
    bool hasMouse = false;
};

// The number that tells instances apart in the editor's log lines: the object's address.
inline unsigned InstanceNumber(const void* instance)
{
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(instance));
}
