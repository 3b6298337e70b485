// A rectangle of window pixels: top-left origin, y downward, right and bottom excluded.
#pragma once

#include <algorithm>
#include <cstdint>

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr PixelRect() = default;
    constexpr PixelRect(int32_t left_, int32_t top_, int32_t right_, int32_t bottom_)
        : left(left_), top(top_), right(right_), bottom(bottom_)
    {}

    bool IsEmpty() const { return right <= left || bottom <= top; }
    int32_t Width() const { return IsEmpty() ? 0 : right - left; }
    int32_t Height() const { return IsEmpty() ? 0 : bottom - top; }
    bool Overlaps(const PixelRect& o) const
    {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    // Grows to hold o as well; an empty rectangle adds nothing.
    void Include(const PixelRect& o)
    {
        if (o.IsEmpty()) return;
        if (IsEmpty()) {
            *this = o;
            return;
        }
        left = (std::min)(left, o.left);
        top = (std::min)(top, o.top);
        right = (std::max)(right, o.right);
        bottom = (std::max)(bottom, o.bottom);
    }
    PixelRect Intersection(const PixelRect& o) const
    {
        const PixelRect cut((std::max)(left, o.left), (std::max)(top, o.top), (std::min)(right, o.right),
                            (std::min)(bottom, o.bottom));
        return cut.IsEmpty() ? PixelRect() : cut;
    }
    bool operator==(const PixelRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
