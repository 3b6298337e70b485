// A rectangle of the editor's window: a leaf shows one view; a split pane holds two
// children side by side or one above the other, with the column or row between them
// belonging to neither.
#pragma once

#include <cstdint>

#include "Engine/Vector.h"

class ViewBase;

class Pane {
public:
    enum SplitKind : int32_t { LEAF = 0, SIDE_BY_SIDE = 1, ONE_ABOVE_THE_OTHER = 2 };

    // The view (or none) is given the corners one margin inside the pane's.
    Pane(ViewBase* view_, const Vec2i& topLeft_, const Vec2i& bottomRight_);
    // Destroys the children and, for a leaf, its view.
    ~Pane();

    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    void Split(ViewBase* newView, float ratio, bool sideBySide, bool newViewFirst);
    bool IsLeaf() const { return splitKind == LEAF; }

    // The frame's walks over the tree, first child before second.
    // Sets hasMouse on the leaf (and its view) that holds the cursor and makes them the focus.
    void UpdateMouseFocus(const Vec2i& mouse);
    void UpdateViews();
    void Draw();

    int32_t splitKind = LEAF;
    Pane* first = nullptr;
    Pane* second = nullptr;
    // A split pane keeps the view it had, but its first or second child now shows it.
    ViewBase* view = nullptr;
    float splitRatio = 0.5f;
    int32_t splitX = 0;
    int32_t splitY = 0;
    // Inclusive corners in window pixels, y downward.
    Vec2i topLeft;
    Vec2i bottomRight;
    bool hasMouse = false;

    static const Vec2i MARGIN;

private:
    void _DrawFrame() const;
};
