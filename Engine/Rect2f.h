// The renderer's rectangle argument: minimum and maximum corner.
#pragma once

struct Rect2f {
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;

    constexpr Rect2f() = default;
    constexpr Rect2f(float minX_, float minY_, float maxX_, float maxY_)
        : minX(minX_), minY(minY_), maxX(maxX_), maxY(maxY_)
    {}
};
