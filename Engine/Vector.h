// Small vector types shared by the engine and the game.
#pragma once

#include <cstdint>

struct Vec2f {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2f() = default;
    constexpr Vec2f(float x_, float y_) : x(x_), y(y_) {}

    constexpr Vec2f operator+(const Vec2f& o) const { return Vec2f(x + o.x, y + o.y); }
    constexpr Vec2f operator-(const Vec2f& o) const { return Vec2f(x - o.x, y - o.y); }
    constexpr Vec2f operator*(float s) const { return Vec2f(x * s, y * s); }
    Vec2f& operator+=(const Vec2f& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    Vec2f& operator-=(const Vec2f& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    Vec2f& operator*=(float s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr bool operator==(const Vec2f& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vec2f& o) const { return !(*this == o); }

    static const Vec2f ZERO;
    static const Vec2f ONE;
};
inline constexpr Vec2f operator*(float s, const Vec2f& v)
{
    return v * s;
}

struct Vec2i {
    int32_t x = 0;
    int32_t y = 0;

    constexpr Vec2i() = default;
    constexpr Vec2i(int32_t x_, int32_t y_) : x(x_), y(y_) {}

    constexpr Vec2i operator+(const Vec2i& o) const { return Vec2i(x + o.x, y + o.y); }
    constexpr Vec2i operator-(const Vec2i& o) const { return Vec2i(x - o.x, y - o.y); }
    constexpr bool operator==(const Vec2i& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vec2i& o) const { return !(*this == o); }

    static const Vec2i ZERO;
    static const Vec2i ONE;
};

// The three- and four-component vectors are only ever used as these constants.
struct Vec3f {
    float x, y, z;
    static const Vec3f ZERO;
    static const Vec3f ONE;
};
struct Vec3i {
    int32_t x, y, z;
    static const Vec3i ZERO;
    static const Vec3i ONE;
};
struct Vec4f {
    float x, y, z, w;
    static const Vec4f ZERO;
    static const Vec4f ONE;
};
struct Vec4i {
    int32_t x, y, z, w;
    static const Vec4i ZERO;
    static const Vec4i ONE;
};

inline constexpr Vec2f Vec2f::ZERO{0.0f, 0.0f};
inline constexpr Vec2f Vec2f::ONE{1.0f, 1.0f};
inline constexpr Vec2i Vec2i::ZERO{0, 0};
inline constexpr Vec2i Vec2i::ONE{1, 1};
inline constexpr Vec3f Vec3f::ZERO{0.0f, 0.0f, 0.0f};
inline constexpr Vec3f Vec3f::ONE{1.0f, 1.0f, 1.0f};
inline constexpr Vec3i Vec3i::ZERO{0, 0, 0};
inline constexpr Vec3i Vec3i::ONE{1, 1, 1};
inline constexpr Vec4f Vec4f::ZERO{0.0f, 0.0f, 0.0f, 0.0f};
inline constexpr Vec4f Vec4f::ONE{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr Vec4i Vec4i::ZERO{0, 0, 0, 0};
inline constexpr Vec4i Vec4i::ONE{1, 1, 1, 1};
