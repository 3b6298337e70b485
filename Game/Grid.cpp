#include "Game/Grid.h"

#include <cmath>

Vec2f Grid::Snap(const Vec2f& point) const
{
    if (!snap) return point;
    if (size == 0.0f) return Vec2f(0.0f, 0.0f);
    const float half = size / 2.0f;
    return Vec2f(std::floor((point.x + half) / size) * size, std::floor((point.y + half) / size) * size);
}

void Grid::Halve()
{
    size = size * 0.5f;
    if (size < minimumSize) size = minimumSize;
    size = std::floor(size / minimumSize) * minimumSize;
}

void Grid::Double()
{
    size = size * 2.0f;
    if (size > maximumSize) size = maximumSize;
    size = std::floor(size / minimumSize) * minimumSize;
}
