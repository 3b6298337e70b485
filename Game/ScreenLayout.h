// Where the game's pictures, panel and command line sit on its 1280 x 1024 screen, in the pixel
// mapping's coordinates (y down). The game's frame draws them there (GameDraw.cpp) and
// FrameDamage draws them again there when they change, so both take the places from here.
#pragma once

#include <cstdint>

#include "Engine/Rect2f.h"
#include "Engine/Vector.h"

// The panel, to the right of the 1024 x 1024 field.
constexpr Rect2f PANEL_RECT(1024.0f, 0.0f, 1280.0f, 1024.0f);

// The power bar grows from its left end by so many pixels a percent, between its top and
// bottom; the power and the angle are written at their points.
constexpr int32_t POWER_BAR_LEFT = 1052;
constexpr int32_t POWER_BAR_PIXELS_PER_PERCENT = 2;
constexpr float POWER_BAR_TOP = 364.0f;
constexpr float POWER_BAR_BOTTOM = 404.0f;
constexpr Vec2f POWER_TEXT_AT(1138.0f, 384.0f);
constexpr Vec2f ANGLE_TEXT_AT(1138.0f, 478.0f);
// What changes with the power and the angle: the bar and the two numbers, with room to spare.
constexpr Rect2f PANEL_NUMBERS_BOX(1040.0f, 360.0f, 1280.0f, 490.0f);

// The aiming arrow, centred on the ball: the side of its square.
constexpr float ARROW_SIZE = 128.0f;

// The title and map-complete pictures are centred here, a little above the middle; y is a
// double, as is the bob added to it.
constexpr float SCREEN_PICTURE_X = 640.0f;
constexpr double SCREEN_PICTURE_Y = 480.0;

// The command line's frame, and its text: the left edge, the prompt's baseline and the typed
// line's.
constexpr Rect2f COMMAND_LINE_FRAME(0.0f, 360.0f, 400.0f, 408.0f);
constexpr float COMMAND_LINE_TEXT_X = 20.0f;
constexpr float COMMAND_LINE_PROMPT_Y = 378.0f;
constexpr float COMMAND_LINE_TYPED_Y = 396.0f;
constexpr const char* COMMAND_LINE_PROMPT = "Enter command; hit ENTER to submit, ESCAPE or ~ to cancel:";
