#include <gtest/gtest.h>

#include <cfloat>

#include "Game/Geometry.h"

TEST(Geometry, NearestPointTakesTheStartTheEndOrTheFootBetween)
{
    const Segment2f segment(Vec2f(10, 10), Vec2f(100, 0));
    EXPECT_EQ(ClosestPointOnSegment(segment, Vec2f(0, 50)), Vec2f(10, 10));
    EXPECT_EQ(ClosestPointOnSegment(segment, Vec2f(200, -5)), Vec2f(110, 10));
    EXPECT_EQ(ClosestPointOnSegment(segment, Vec2f(35, 40)), Vec2f(35, 10));

    float fraction = -1.0f;
    const DiscSweep sweep(Vec2f(0, 0), Vec2f(0, 100));
    EXPECT_FLOAT_EQ(DistanceSquaredToSweep(sweep, Vec2f(3, 25), &fraction), 9.0f);
    EXPECT_FLOAT_EQ(fraction, 0.25f);
    EXPECT_FLOAT_EQ(DistanceSquaredToSweep(sweep, Vec2f(0, -4), &fraction), 16.0f);
    EXPECT_EQ(fraction, 0.0f);
    EXPECT_FLOAT_EQ(DistanceSquaredToSweep(sweep, Vec2f(0, 104), &fraction), 16.0f);
    EXPECT_EQ(fraction, 1.0f);
    // A sweep that does not move is its start point.
    EXPECT_FLOAT_EQ(DistanceSquaredToSweep(DiscSweep(Vec2f(1, 1), Vec2f()), Vec2f(4, 5)), 25.0f);
}

TEST(Geometry, SweepsCrossSegmentsOnlyWithinBothAndNeverWhenParallel)
{
    float t = 0.0f;
    const Segment2f wall(Vec2f(-50, 40), Vec2f(100, 0));
    EXPECT_TRUE(IntersectSegments(DiscSweep(Vec2f(0, 0), Vec2f(0, 80)), wall, t));
    EXPECT_FLOAT_EQ(t, 0.5f);
    // Touching the wall's line at the very end of the sweep still counts.
    EXPECT_TRUE(IntersectSegments(DiscSweep(Vec2f(0, 0), Vec2f(0, 40)), wall, t));
    EXPECT_FLOAT_EQ(t, 1.0f);
    // Short of the wall, or past its end: no crossing, and t says so.
    EXPECT_FALSE(IntersectSegments(DiscSweep(Vec2f(0, 0), Vec2f(0, 39)), wall, t));
    EXPECT_EQ(t, FLT_MAX);
    EXPECT_FALSE(IntersectSegments(DiscSweep(Vec2f(60, 0), Vec2f(0, 80)), wall, t));
    // Parallel, even on the same line: the determinant is zero and nothing is hit.
    EXPECT_FALSE(IntersectSegments(DiscSweep(Vec2f(-60, 40), Vec2f(200, 0)), wall, t));
    EXPECT_FALSE(IntersectSegments(DiscSweep(Vec2f(-60, 20), Vec2f(200, 0)), wall, t));
}
