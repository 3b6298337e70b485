#include "Engine/Color.h"

static uint8_t ScaleChannel(uint8_t channel, float scale)
{
    const float scaled = static_cast<float>(channel) * scale;
    // Clamp before converting so out-of-range products never overflow the int.
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= 255.0f) return 255;
    return static_cast<uint8_t>(static_cast<int>(scaled));
}

Color Color::operator*(float scale) const
{
    return Color(ScaleChannel(r, scale), ScaleChannel(g, scale), ScaleChannel(b, scale), ScaleChannel(a, scale));
}
