#include "Game/Pane.h"

#include <windows.h>
#include <GL/gl.h>

#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Game/EditorShell.h"
#include "Game/ViewBase.h"

const Vec2i Pane::MARGIN(1, 1);

Pane::Pane(ViewBase* view_, const Vec2i& topLeft_, const Vec2i& bottomRight_)
    : view(view_), topLeft(topLeft_), bottomRight(bottomRight_)
{
    theConsole.Printf("Creating pane #%u at %d,%d -> %d,%d\n", InstanceNumber(this), topLeft.x, topLeft.y,
                      bottomRight.x, bottomRight.y);
    if (view == nullptr) return;
    view->topLeft = topLeft + MARGIN;
    view->bottomRight = bottomRight - MARGIN;
    theConsole.Printf("Setting view #%u at %d,%d -> %d,%d\n", InstanceNumber(view), view->topLeft.x, view->topLeft.y,
                      view->bottomRight.x, view->bottomRight.y);
}

Pane::~Pane()
{
    delete first;
    delete second;
    if (IsLeaf()) delete view;  // a split pane's view belongs to one of its children
}

void Pane::Split(ViewBase* newView, float ratio, bool sideBySide, bool newViewFirst)
{
    const int32_t x0 = topLeft.x, y0 = topLeft.y, x1 = bottomRight.x, y1 = bottomRight.y;
    splitRatio = ratio;
    splitX = x0 + static_cast<int32_t>(static_cast<float>(x1 - x0) * ratio);
    splitY = y0 + static_cast<int32_t>(static_cast<float>(y1 - y0) * ratio);

    ViewBase* firstView = newViewFirst ? newView : view;
    ViewBase* secondView = newViewFirst ? view : newView;
    if (sideBySide) {
        splitKind = SIDE_BY_SIDE;
        first = new Pane(firstView, Vec2i(x0, y0), Vec2i(splitX - 1, y1));
        second = new Pane(secondView, Vec2i(splitX + 1, y0), Vec2i(x1, y1));
    } else {
        splitKind = ONE_ABOVE_THE_OTHER;
        first = new Pane(firstView, Vec2i(x0, y0), Vec2i(x1, splitY - 1));
        second = new Pane(secondView, Vec2i(x0, splitY + 1), Vec2i(x1, y1));
    }
}

void Pane::UpdateMouseFocus(const Vec2i& mouse)
{
    hasMouse = false;
    if (!IsLeaf()) {
        first->UpdateMouseFocus(mouse);
        second->UpdateMouseFocus(mouse);
        return;
    }
    if (view != nullptr) view->hasMouse = false;
    if (mouse.x < topLeft.x || mouse.x > bottomRight.x || mouse.y < topLeft.y || mouse.y > bottomRight.y) return;
    hasMouse = true;
    focusPane = this;
    if (view != nullptr) {
        focusView = view;
        view->hasMouse = true;
    }
}

void Pane::UpdateViews()
{
    if (!IsLeaf()) {
        first->UpdateViews();
        second->UpdateViews();
    } else if (view != nullptr) {
        view->Update();
    }
}

void Pane::Draw()
{
    if (!IsLeaf()) {
        first->Draw();
        second->Draw();
        return;
    }
    theRenderer.SetViewportAndScissor(topLeft - MARGIN, bottomRight - topLeft + MARGIN + MARGIN + Vec2i(1, 1));
    // The frame's two lines cover the pane's border and a shown view clears all inside it.
    if (view == nullptr || !view->visible) theRenderer.Clear(Color::BLACK);
    _DrawFrame();
    if (view == nullptr) return;
    theRenderer.SetViewportAndScissor(view->topLeft, view->GetSize());
    view->Draw();
}

// A black line just outside the pane, then a bevel along its edge: light at the top left,
// dark at the bottom right, or yellow all round while the pane has the mouse.
void Pane::_DrawFrame() const
{
    const Vec2i outerMin = topLeft - MARGIN;
    const Vec2i outerMax = bottomRight + MARGIN;
    // Window pixel (x, y) covers [x, x + 1) x [y, y + 1), so lines through pixel centres land
    // on exactly the pixels they name.
    theRenderer.SetOrtho(float(outerMin.x), float(outerMin.y), float(outerMax.x + 1), float(outerMax.y + 1));
    auto corner = [](const Vec2i& p) { glVertex2f(float(p.x) + 0.5f, float(p.y) + 0.5f); };

    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT | GL_LINE_BIT);
    glDisable(GL_TEXTURE_2D);
    theRenderer.SetBlending(Blending::ALPHA);
    glShadeModel(GL_SMOOTH);
    glLineWidth(1.0f);

    theRenderer.SetColour(Color::BLACK);
    glBegin(GL_LINE_LOOP);
    corner(outerMin);
    corner(Vec2i(outerMax.x, outerMin.y));
    corner(outerMax);
    corner(Vec2i(outerMin.x, outerMax.y));
    glEnd();

    const Color bevel[4] = {Color(160, 160, 160, 255), Color(128, 128, 128, 255), Color(64, 64, 64, 255),
                            Color(128, 128, 128, 255)};
    const Vec2i corners[4] = {topLeft, Vec2i(bottomRight.x, topLeft.y), bottomRight, Vec2i(topLeft.x, bottomRight.y)};
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 4; ++i) {
        theRenderer.SetColour(hasMouse ? Color::YELLOW : bevel[i]);
        corner(corners[i]);
    }
    glEnd();
    glPopAttrib();
}
