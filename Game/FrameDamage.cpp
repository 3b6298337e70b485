#include "Game/FrameDamage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "Engine/Texture.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"
#include "Game/Animation.h"
#include "Game/Ball.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"
#include "Game/MapItem.h"
#include "Game/PlayMap.h"
#include "Game/ScreenLayout.h"
#include "Game/TrailStrip.h"

namespace {

// Half the diagonal of a square: a turning sprite stays inside this times its side.
const float HALF_DIAGONAL = 0.7072f;
// The trail's changed part is boxed a few points at a time, so that a long curve is not one
// large rectangle.
const int32_t TRAIL_POINTS_PER_BOX = 12;
// What one more pass over the layers costs, in pixels drawn: two rectangles nearer than this
// are drawn as one.
const int64_t PASS_PIXELS = 8000;
// Around the command line: the ink of a string's last glyph may reach past its advance, and the
// frame's outline lies on its bottom edge, just under the typed line's descenders.
const float TEXT_INK_SLACK = 4.0f;
const float FRAME_BOTTOM_SLACK = 6.0f;

Rect2f Around(const Vec2f& centre, float half)
{
    return Rect2f(centre.x - half, centre.y - half, centre.x + half, centre.y + half);
}

float BallReach(const Ball& ball)
{
    const int32_t side = (std::max)(ball.ballAnimation.frameSize, ball.highlightAnimation.frameSize);
    return float(side) * HALF_DIAGONAL;
}

}  // namespace

Rect2f FrameDamage::PanelNumbersBox()
{
    return PANEL_NUMBERS_BOX;
}

Rect2f FrameDamage::CommandLineBox(const char* text)
{
    const int written = theRenderer.GetTextWidth(text, int(strlen(text)));
    const int prompt = theRenderer.GetTextWidth(COMMAND_LINE_PROMPT, int(strlen(COMMAND_LINE_PROMPT)));
    const float right =
        (std::max)(COMMAND_LINE_FRAME.maxX, COMMAND_LINE_TEXT_X + float((std::max)(written, prompt)) + TEXT_INK_SLACK);
    return Rect2f(COMMAND_LINE_FRAME.minX, COMMAND_LINE_FRAME.minY, right,
                  COMMAND_LINE_FRAME.maxY + FRAME_BOTTOM_SLACK);
}

Rect2f FrameDamage::ScreenPictureBox(const Texture* texture, double bob)
{
    if (texture == nullptr) return Rect2f();
    const float halfWidth = float(texture->GetWidth()) * 0.5f, halfHeight = float(texture->GetHeight()) * 0.5f;
    const float y = float(SCREEN_PICTURE_Y + bob);
    return Rect2f(SCREEN_PICTURE_X - halfWidth, y - halfHeight, SCREEN_PICTURE_X + halfWidth, y + halfHeight);
}

FrameDamage::Shown FrameDamage::_Observe(const Game& game, const TrailStrip& trail, int32_t picture) const
{
    Shown now;
    now.mode = picture;
    const PlayMap* map = game.GetCurrentMap();
    now.map = map;
    if (map != nullptr) {
        for (const MapItem* item : map->items) {
            const Animation* animation = map->GetAnimation(item);
            now.itemFrames.push_back(animation != nullptr ? animation->currentFrame : -1);
        }
    }
    if (!game.balls.empty()) {
        now.ball = game.balls[0];
        now.ballPosition = game.balls[0]->position;
    }
    now.power = game.power;
    now.angle = game.angle;
    now.commandLineOpen = game.commandLineOpen;
    now.commandLine = game.commandLineText;
    now.debugOverlay = debugOverlay;
    now.trailTotal = trail.GetTotal();
    now.trailRestarts = trail.GetRestarts();
    now.bob = completeBob;
    return now;
}

bool FrameDamage::_NeedsWholeWindow(const Shown& now) const
{
    return now.mode == MODE_EDIT || now.mode != _shown.mode || now.map != _shown.map ||
           now.itemFrames.size() != _shown.itemFrames.size() || now.ball != _shown.ball ||
           now.commandLineOpen != _shown.commandLineOpen || now.debugOverlay || _shown.debugOverlay ||
           now.trailRestarts != _shown.trailRestarts || now.trailTotal < _shown.trailTotal;
}

std::vector<PixelRect> FrameDamage::MergeRects(std::vector<PixelRect> rects, size_t most, int64_t passPixels)
{
    auto area = [](const PixelRect& r) { return int64_t(r.Width()) * int64_t(r.Height()); };
    rects.erase(std::remove_if(rects.begin(), rects.end(), [](const PixelRect& r) { return r.IsEmpty(); }),
                rects.end());
    // Two rectangles become one where drawing the pixels between them costs less than another
    // pass would, and until there are few enough.
    while (rects.size() > 1) {
        size_t bestA = 0, bestB = 1;
        int64_t bestCost = INT64_MAX;
        for (size_t a = 0; a < rects.size(); ++a) {
            for (size_t b = a + 1; b < rects.size(); ++b) {
                PixelRect both = rects[a];
                both.Include(rects[b]);
                const int64_t cost = area(both) - area(rects[a]) - area(rects[b]);
                if (cost < bestCost) {
                    bestCost = cost;
                    bestA = a;
                    bestB = b;
                }
            }
        }
        if (rects.size() <= most && bestCost > passPixels) break;
        rects[bestA].Include(rects[bestB]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bestB));
    }
    return rects;
}

std::vector<PixelRect> FrameDamage::_Changes(const Game& game, const TrailStrip& trail, const Shown& now) const
{
    std::vector<PixelRect> area;
    auto add = [&area](const Rect2f& box) { area.push_back(theRenderer.PixelOrthoToWindow(box, MARGIN)); };
    if (now.commandLineOpen && now.commandLine != _shown.commandLine) {
        add(CommandLineBox(_shown.commandLine.c_str()));
        add(CommandLineBox(now.commandLine.c_str()));
    }
    if (now.mode == MODE_MAP_COMPLETE && now.bob != _shown.bob) {
        add(ScreenPictureBox(game.mapCompleteTexture, _shown.bob));
        add(ScreenPictureBox(game.mapCompleteTexture, now.bob));
    }
    if (now.mode != MODE_AIM && now.mode != MODE_FLIGHT) return area;

    if (now.power != _shown.power || now.angle != _shown.angle) add(PanelNumbersBox());
    const PlayMap* map = now.map;
    for (size_t i = 0; map != nullptr && i < now.itemFrames.size(); ++i) {
        if (now.itemFrames[i] == _shown.itemFrames[i]) continue;
        const MapItem* item = map->items[i];
        add(Around(item->position, float(map->GetAnimation(item)->frameSize) * 0.5f));
    }
    if (const Ball* ball = now.ball) {
        // The ball turns and its sprites play on: it is drawn again every frame.
        const float reach = BallReach(*ball);
        add(Around(_shown.ballPosition, reach));
        add(Around(now.ballPosition, reach));
        if (now.mode == MODE_AIM && (now.angle != _shown.angle || now.ballPosition != _shown.ballPosition)) {
            add(Around(_shown.ballPosition, ARROW_SIZE * HALF_DIAGONAL));
            add(Around(now.ballPosition, ARROW_SIZE * HALF_DIAGONAL));
        }
    }
    std::vector<Rect2f> trailBoxes;
    trail.ChangedBoxes(_shown.trailTotal, TRAIL_POINTS_PER_BOX, trailBoxes);
    for (const Rect2f& box : trailBoxes) add(box);
    return area;
}

bool FrameDamage::Plan(const Game& game, const TrailStrip& trail, int32_t picture)
{
    Shown now = _Observe(game, trail, picture);
    bool whole = !theVideoSystem.IsBackBufferKept() || _wholeFramesLeft > 0 || _NeedsWholeWindow(now);
    if (theRenderer.TakeWindowInvalidation()) whole = true;
    std::vector<PixelRect> area;
    if (!whole) {
        area = _Changes(game, trail, now);
        PixelRect overlays;
        whole = !theRenderer.AddOverlayChanges(overlays);
        area.push_back(overlays);
    }
    if (_wholeFramesLeft > 0) --_wholeFramesLeft;
    _shown = std::move(now);
    if (whole) return false;
    const PixelRect window(0, 0, theVideoSystem.GetWidth(), theVideoSystem.GetHeight());
    for (PixelRect& rect : area) rect = rect.Intersection(window);
    theRenderer.SetFrameRedraw(MergeRects(area, TheRenderer::MAX_REDRAW_RECTS, PASS_PIXELS));
    return true;
}
