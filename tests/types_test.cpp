#include <gtest/gtest.h>

#include "Engine/Color.h"
#include "Engine/Segment2f.h"
#include "Engine/Vector.h"

TEST(Color, ScalingTruncatesTowardZeroAndClamps)
{
    const Color c(200, 100, 3, 255);
    EXPECT_EQ(c * 0.5f, Color(100, 50, 1, 127));
    EXPECT_EQ(c * 2.0f, Color(255, 200, 6, 255));  // clamped at 255
    EXPECT_EQ(c * -1.0f, Color(0, 0, 0, 0));       // clamped at 0
    EXPECT_EQ(Color::ORANGE * 0.999f, Color(254, 127, 0, 254));
    EXPECT_EQ(c * 1e30f, Color(255, 255, 255, 255));  // a huge factor must not overflow
}

TEST(Color, NamedConstants)
{
    EXPECT_EQ(Color::BROWN, Color(128, 64, 0, 255));
    EXPECT_EQ(Color::DARK_GREY, Color(64, 64, 64, 255));
    EXPECT_EQ(Color::TEAL, Color(0, 128, 128, 255));
}

TEST(Vectors, ArithmeticAndSegments)
{
    const Vec2f a(1.5f, -2.0f);
    EXPECT_EQ(a + Vec2f::ONE, Vec2f(2.5f, -1.0f));
    EXPECT_EQ(a - a, Vec2f::ZERO);
    EXPECT_EQ(a * 2.0f, Vec2f(3.0f, -4.0f));
    EXPECT_EQ(Vec2i(3, 4) - Vec2i::ONE, Vec2i(2, 3));
    const Segment2f s(Vec2f(1, 1), Vec2f(2, -3));
    EXPECT_EQ(s.End(), Vec2f(3, -2));
}
