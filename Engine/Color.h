// An RGBA colour of four bytes, handed to OpenGL as unsigned bytes.
#pragma once

#include <cstdint>

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    constexpr Color() = default;
    constexpr Color(uint8_t r_, uint8_t g_, uint8_t b_, uint8_t a_ = 255) : r(r_), g(g_), b(b_), a(a_) {}

    // Scales all four channels; each result is truncated toward zero and clamped to 0..255.
    Color operator*(float scale) const;

    constexpr bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    constexpr bool operator!=(const Color& o) const { return !(*this == o); }

    static const Color WHITE, BLACK, RED, GREEN, BLUE, YELLOW, MAGENTA, CYAN, ORANGE, GREY, DARK_RED, DARK_GREEN,
        DARK_BLUE, OLIVE, PURPLE, TEAL, BROWN, DARK_GREY;
};

inline constexpr Color Color::WHITE{255, 255, 255, 255};
inline constexpr Color Color::BLACK{0, 0, 0, 255};
inline constexpr Color Color::RED{255, 0, 0, 255};
inline constexpr Color Color::GREEN{0, 255, 0, 255};
inline constexpr Color Color::BLUE{0, 0, 255, 255};
inline constexpr Color Color::YELLOW{255, 255, 0, 255};
inline constexpr Color Color::MAGENTA{255, 0, 255, 255};
inline constexpr Color Color::CYAN{0, 255, 255, 255};
inline constexpr Color Color::ORANGE{255, 128, 0, 255};
inline constexpr Color Color::GREY{128, 128, 128, 255};
inline constexpr Color Color::DARK_RED{128, 0, 0, 255};
inline constexpr Color Color::DARK_GREEN{0, 128, 0, 255};
inline constexpr Color Color::DARK_BLUE{0, 0, 128, 255};
inline constexpr Color Color::OLIVE{128, 128, 0, 255};
inline constexpr Color Color::PURPLE{128, 0, 128, 255};
inline constexpr Color Color::TEAL{0, 128, 128, 255};
inline constexpr Color Color::BROWN{128, 64, 0, 255};
inline constexpr Color Color::DARK_GREY{64, 64, 64, 255};
