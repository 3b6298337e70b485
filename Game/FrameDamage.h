// Which part of the window a game frame must draw. Where the back buffer keeps the last frame
// (the pixel format's swap copies it), only what differs from the last frame is drawn again:
// the ball, the trail's newest part, a changed panel, an item's next sprite frame, the command
// line as it is typed, the bobbing map-complete picture, the overlays' changes. Everything is
// drawn after a change of mode or map, when the command line opens or closes, when an overlay
// is shown or hidden, after the window was spoiled, in the first frames, and every frame where
// the back buffer is not kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Engine/PixelRect.h"
#include "Engine/Rect2f.h"
#include "Engine/Vector.h"

class Ball;
class Game;
class PlayMap;
class Texture;
class TrailStrip;

class FrameDamage {
public:
    // Frames drawn whole after a start or an invalidation: both buffers of a swap that does not
    // copy would have to be drawn, and a copying one needs only the first.
    static constexpr int32_t WHOLE_FRAMES = 2;
    // Pixels added round every part, for the pixel mapping's rounding and the lines' width.
    static constexpr int MARGIN = 2;

    // The part of the window this frame of the game draws, set as the renderer's frame redraw
    // when it is not the whole window; returns true then. Called once a frame before drawing,
    // with the mode whose picture the frame draws (a flight that has just completed its map
    // still draws the field).
    bool Plan(const Game& game, const TrailStrip& trail, int32_t picture);

    // At most `most` rectangles holding all of them: nearest first, two are made one while there
    // are too many, or while the pixels that adds are fewer than passPixels.
    static std::vector<PixelRect> MergeRects(std::vector<PixelRect> rects, size_t most, int64_t passPixels);

    // The parts of the picture, in the pixel mapping's coordinates (map units on the field).
    static Rect2f PanelNumbersBox();
    static Rect2f CommandLineBox(const char* text);
    static Rect2f ScreenPictureBox(const Texture* texture, double bob);

private:
    // What the last frame showed.
    struct Shown {
        int32_t mode = -1;
        const PlayMap* map = nullptr;
        std::vector<int32_t> itemFrames;
        const Ball* ball = nullptr;
        Vec2f ballPosition;
        int32_t power = 0;
        int32_t angle = 0;
        bool commandLineOpen = false;
        std::string commandLine;
        bool debugOverlay = false;
        int32_t trailTotal = 0;
        int32_t trailRestarts = 0;
        double bob = 0.0;
    };

    Shown _Observe(const Game& game, const TrailStrip& trail, int32_t picture) const;
    bool _NeedsWholeWindow(const Shown& now) const;
    std::vector<PixelRect> _Changes(const Game& game, const TrailStrip& trail, const Shown& now) const;

    Shown _shown;
    int32_t _wholeFramesLeft = WHOLE_FRAMES;
};
