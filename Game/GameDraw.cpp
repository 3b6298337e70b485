// The game's frame by mode, and everything it draws outside the editor: the title and
// map-complete pictures, the field with its items, the trail and the ball, the panel, the
// command line.
#include <windows.h>
#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "Engine/TheApplication.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"
#include "Engine/Texture.h"
#include "Game/Animation.h"
#include "Game/Ball.h"
#include "Game/EditorShell.h"
#include "Game/FlightGlobals.h"
#include "Game/MapItem.h"
#include "Game/Game.h"
#include "Game/PlayMap.h"
#include "Game/ScreenLayout.h"

// How the game draws; where things sit is in ScreenLayout.h.

// The map-complete picture bobs: |sin(COMPLETE_BOB_RATE t)| sweeps it over COMPLETE_BOB_SWING
// pixels, centred on its place.
constexpr double COMPLETE_BOB_RATE = 2.0;
constexpr double COMPLETE_BOB_SWING = 16.0;

// The trail's line width; every other line is one pixel wide.
constexpr float TRAIL_LINE_WIDTH = 2.0f;
constexpr float LINE_WIDTH = 1.0f;

// The power bar's red is the power's share of 255, taken with the float 0.01 (power 100 gives
// 254.99999..., a red of 254), and its blue the rest.
constexpr float POWER_SHARE_PER_PERCENT = 0.01f;

// The command line's box: translucent dark blue in a white frame.
constexpr Color COMMAND_LINE_BOX_COLOUR(0, 0, 127, 127);

namespace {

// A full-size picture centred on the 1280 x 1024 screen, a little above the middle.
void DrawScreenPicture(const Texture* texture, double bob)
{
    if (!texture) return;
    const Vec2f size(float(texture->GetWidth()), float(texture->GetHeight()));
    theRenderer.DrawTexturedQuadCentred(*texture, Vec2f(SCREEN_PICTURE_X, float(SCREEN_PICTURE_Y + bob)), size, 0.0f,
                                        Vec2f::ONE, Color::WHITE, true, true);
}

// The part of the frame's drawing that a box of the pixel mapping reaches into.
bool IsRedrawn(const Rect2f& box)
{
    return theRenderer.IsInRedrawPass(theRenderer.PixelOrthoToWindow(box, FrameDamage::MARGIN));
}

// The frame's redraw rectangle in the pixel mapping's coordinates, a pixel larger all round.
Rect2f FrameRedrawBox()
{
    const PixelRect& area = theRenderer.GetFrameRedraw();
    const Vec2i size = theVideoSystem.GetSize();
    const float scaleX = size.x > 1 ? float(size.x - 1) / float(size.x) : 1.0f;
    const float scaleY = size.y > 1 ? float(size.y - 1) / float(size.y) : 1.0f;
    return Rect2f(float(area.left - 1) * scaleX, float(area.top - 1) * scaleY, float(area.right + 1) * scaleX,
                  float(area.bottom + 1) * scaleY);
}

// Draws the frame's picture once, or where only a few rectangles changed, once in each of them.
template <typename Draw>
void ForEachRedrawPass(Draw draw)
{
    if (!theRenderer.IsFramePartial()) {
        draw(size_t(0));
        return;
    }
    const size_t passes = theRenderer.GetFrameRedrawRects().size();
    for (size_t pass = 0; pass < passes; ++pass) {
        theRenderer.BeginRedrawPass(pass);
        draw(pass);
    }
    theRenderer.SetFullWindowScissor();
}

// A sprite's animation moves on as it is drawn; every pass of a frame must draw the frame the
// first pass drew, so each starts from the clocks as they were.
struct SpriteClock {
    Animation* animation;
    int32_t frame;
    double lastFrameTime;
};

std::vector<SpriteClock> ReadSpriteClocks(const PlayMap* map, Ball* ball)
{
    std::vector<SpriteClock> clocks;
    auto read = [&clocks](Animation* animation) {
        clocks.push_back(SpriteClock{animation, animation->currentFrame, animation->lastFrameTime});
    };
    if (map != nullptr)
        for (const MapItem* item : map->items)
            if (Animation* animation = map->GetAnimation(item)) read(animation);
    if (ball != nullptr) {
        read(&ball->ballAnimation);
        read(&ball->highlightAnimation);
    }
    return clocks;
}

void SetSpriteClocks(const std::vector<SpriteClock>& clocks)
{
    for (const SpriteClock& clock : clocks) {
        clock.animation->currentFrame = clock.frame;
        clock.animation->lastFrameTime = clock.lastFrameTime;
    }
}

}  // namespace

void Game::RunFrame()
{
    switch (mode) {
    case MODE_EDIT:
        damage.Plan(*this, trailStrip, MODE_EDIT);
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
        damage.Plan(*this, trailStrip, MODE_TITLE);
        ForEachRedrawPass([this](size_t) {
            theRenderer.Clear(Color::BLACK);
            theRenderer.SetPixelOrtho(false);
            // The picture is opaque: blending it over black would only cost time.
            theRenderer.SetBlending(Blending::OFF);
            DrawScreenPicture(titleTexture, 0.0);
        });
        break;
    case MODE_MAP_COMPLETE:
        completeBob = std::fabs(std::sin(COMPLETE_BOB_RATE * theApplication.GetCurrentSeconds())) * COMPLETE_BOB_SWING -
                      COMPLETE_BOB_SWING / 2.0;
        damage.Plan(*this, trailStrip, MODE_MAP_COMPLETE);
        ForEachRedrawPass([this](size_t) {
            theRenderer.Clear(Color::BLACK);
            theRenderer.SetBlending(Blending::OFF);
            theRenderer.SetPixelOrtho(false);
            DrawScreenPicture(mapCompleteTexture, completeBob);
            DrawCommandLine();
        });
        break;
    }
}

void Game::DrawPlay()
{
    theRenderer.ResetViewportAndScissor();
    theRenderer.SetPixelOrtho(false);
    trailStrip.Update(shotTrail);
    const bool partial = damage.Plan(*this, trailStrip, mode == MODE_AIM ? MODE_AIM : MODE_FLIGHT);
    PlayMap* map = GetCurrentMap();
    Ball* ball = balls.empty() ? nullptr : balls[0];
    // The field and the panel are opaque and cover the window between them.
    if (!partial && (map == nullptr || panelTexture == nullptr)) theRenderer.Clear(Color::BLACK);
    const std::vector<SpriteClock> clocks = partial ? ReadSpriteClocks(map, ball) : std::vector<SpriteClock>();
    ForEachRedrawPass([&](size_t pass) {
        if (pass > 0) SetSpriteClocks(clocks);
        theRenderer.SetPixelOrtho(false);
        // The field and the panel are opaque; what is drawn over them sets its own blending.
        theRenderer.SetBlending(Blending::OFF);
        if (map) map->Draw();
        if (IsRedrawn(PANEL_RECT)) DrawHud();
        if (ball != nullptr) {
            if (mode == MODE_AIM && arrowTexture) {
                theRenderer.SetBlending(Blending::ADDITIVE);
                theRenderer.DrawTexturedQuadCentred(*arrowTexture, ball->position, Vec2f(ARROW_SIZE, ARROW_SIZE),
                                                    float(angle), Vec2f::ONE, Color::WHITE, true, true);
            }
            glLineWidth(TRAIL_LINE_WIDTH);
            theRenderer.SetBlending(Blending::ALPHA);
            const Rect2f clip = FrameRedrawBox();
            trailStrip.Draw(partial ? &clip : nullptr);
            glLineWidth(LINE_WIDTH);
            DrawBall(*ball);
        }
        DrawCommandLine();
    });
}

void Game::DrawHud()
{
    theRenderer.SetBlending(Blending::OFF);
    if (panelTexture) {
        theRenderer.SetPixelOrtho(false);
        theRenderer.DrawTexturedQuad(*panelTexture, Vec2f(PANEL_RECT.minX, PANEL_RECT.minY),
                                     Vec2f(PANEL_RECT.maxX, PANEL_RECT.maxY), 0.0f, Vec2f::ONE, Color::WHITE, true,
                                     true);
    }
    // A rectangle is drawn blended; its numbers are not.
    theRenderer.SetBlending(Blending::ALPHA);
    const double p = power * double(POWER_SHARE_PER_PERCENT) * 255.0;
    const Color barColour(uint8_t(p), 0, uint8_t(float(255.0 - p)), 255);
    theRenderer.DrawRect(Vec2f(float(POWER_BAR_LEFT), POWER_BAR_TOP),
                         Vec2f(float(POWER_BAR_LEFT + POWER_BAR_PIXELS_PER_PERCENT * power), POWER_BAR_BOTTOM),
                         barColour, true);
    theRenderer.SetBlending(Blending::OFF);
    theRenderer.DrawText(POWER_TEXT_AT, "%d", power);
    theRenderer.DrawText(ANGLE_TEXT_AT, "%d", angle);
}

void Game::DrawCommandLine()
{
    theRenderer.SetPixelOrtho(false);
    theRenderer.ResetViewportAndScissor();
    if (!commandLineOpen) return;
    if (!IsRedrawn(FrameDamage::CommandLineBox(commandLineText))) return;
    theRenderer.ClipToFrameRedraw();
    // The command line looks the same over every frame. The frame's own blending is kept for
    // the overlays drawn over it: the map-complete picture is drawn without, and so is the
    // console panel over it.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    theRenderer.SetBlending(Blending::ALPHA);
    theRenderer.DrawRect(COMMAND_LINE_FRAME, COMMAND_LINE_BOX_COLOUR, true);
    theRenderer.DrawRect(COMMAND_LINE_FRAME, Color::WHITE, false);
    // Opaque glyphs: blending leaves their pixels as they are.
    theRenderer.DrawText(COMMAND_LINE_TEXT_X, COMMAND_LINE_TYPED_Y, "%s", commandLineText);
    theRenderer.DrawText(COMMAND_LINE_TEXT_X, COMMAND_LINE_PROMPT_Y, "%s", COMMAND_LINE_PROMPT);
    glPopAttrib();
    theRenderer.SetFullWindowScissor();
}
