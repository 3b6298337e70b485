// The game's frame by mode, and everything it draws outside the editor: the title and
// map-complete pictures, the field with its items, the trail and the ball, the panel, the
// command line.
#include <windows.h>
#include <GL/gl.h>

#include <cmath>

#include "Engine/TheApplication.h"
#include "Engine/TheRenderer.h"
#include "Engine/Texture.h"
#include "Game/Ball.h"
#include "Game/EditorShell.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"
#include "Game/PlayMap.h"

namespace {

// A full-size picture centred on the 1280 x 1024 screen, a little above the middle.
void DrawScreenPicture(const Texture* texture, double bob)
{
    if (!texture) return;
    const Vec2f size(float(texture->GetWidth()), float(texture->GetHeight()));
    theRenderer.DrawTexturedQuadCentred(*texture, Vec2f(640.0f, float(480.0 + bob)), size, 0.0f, Vec2f::ONE,
                                        Color::WHITE, true, true);
}

float Clamp01(float value)
{
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

// From the oldest point to the newest: i counts down to 1 at the newest end, which is nearly
// opaque white; older points fade to (0.5, 0.2, 1, 0.4).
void DrawTrail()
{
    glLineWidth(2);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    if (shotTrail.size() >= 2) {
        glBegin(GL_LINE_STRIP);
        int i = int(shotTrail.size());
        for (const Vec2f& point : shotTrail) {
            const float a = Clamp01(float(i) * 0.006666667f);
            const float b = Clamp01(float(i) * 0.0025f);
            glColor4f(1.0f - 0.5f * b, 1.0f - 0.8f * a, 1.0f, 1.0f - 0.6f * b);
            glVertex2f(point.x, point.y);
            --i;
        }
        glEnd();
    }
    glLineWidth(1);
}

}  // namespace

void Game::RunFrame()
{
    switch (mode) {
    case MODE_EDIT:
        theEditorShell->Frame();
        DrawCommandLine();
        break;
    case MODE_AIM:
        theRenderer.SetPixelOrtho(false);
        UpdateAim();
        DrawPlay();
        break;
    case MODE_FLIGHT:
        theRenderer.SetPixelOrtho(false);
        UpdateFlight();
        DrawPlay();
        break;
    case MODE_TITLE:
        // The command line works here too, unseen.
        theRenderer.Clear(Color::BLACK);
        theRenderer.SetPixelOrtho(false);
        DrawScreenPicture(titleTexture, 0.0);
        break;
    case MODE_MAP_COMPLETE:
        completeBob = std::fabs(std::sin(2.0 * theApplication.GetCurrentSeconds())) * 16.0 - 8.0;
        theRenderer.Clear(Color::BLACK);
        glDisable(GL_BLEND);
        theRenderer.SetPixelOrtho(false);
        DrawScreenPicture(mapCompleteTexture, completeBob);
        DrawCommandLine();
        break;
    }
}

void Game::DrawPlay()
{
    theRenderer.ResetViewportAndScissor();
    theRenderer.SetPixelOrtho(false);
    theRenderer.Clear(Color::BLACK);
    if (PlayMap* map = GetCurrentMap()) map->Draw();
    DrawHud();
    if (balls.empty()) {
        DrawCommandLine();
        return;
    }
    Ball& ball = *balls[0];
    if (mode == MODE_AIM && arrowTexture) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_BLEND);
        theRenderer.DrawTexturedQuadCentred(*arrowTexture, ball.position, Vec2f(128.0f, 128.0f), float(angle),
                                            Vec2f::ONE, Color::WHITE, true, true);
    }
    DrawTrail();
    DrawBall(ball);
    DrawCommandLine();
}

void Game::DrawHud()
{
    glDisable(GL_BLEND);
    if (panelTexture) {
        theRenderer.SetPixelOrtho(false);
        theRenderer.DrawTexturedQuad(*panelTexture, Vec2f(1024.0f, 0.0f), Vec2f(1280.0f, 1024.0f), 0.0f, Vec2f::ONE,
                                     Color::WHITE, true, true);
    }
    // The float 0.01, widened: power 100 gives 254.99999..., a red of 254.
    const double p = power * double(0.01f) * 255.0;
    const Color barColour(uint8_t(p), 0, uint8_t(float(255.0 - p)), 255);
    theRenderer.DrawRect(Vec2f(1052.0f, 364.0f), Vec2f(float(1052 + 2 * power), 404.0f), barColour, true);
    theRenderer.DrawText(1138.0f, 384.0f, "%d", power);
    theRenderer.DrawText(1138.0f, 478.0f, "%d", angle);
}

void Game::DrawCommandLine()
{
    theRenderer.SetPixelOrtho(false);
    theRenderer.ResetViewportAndScissor();
    if (!commandLineOpen) return;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const Rect2f box(0.0f, 360.0f, 400.0f, 408.0f);
    theRenderer.DrawRect(box, Color(0, 0, 127, 127), true);
    theRenderer.DrawRect(box, Color::WHITE, false);
    theRenderer.DrawText(20.0f, 396.0f, "%s", commandLineText);
    theRenderer.DrawText(20.0f, 378.0f, "Enter command; hit ENTER to submit, ESCAPE or ~ to cancel:");
}
