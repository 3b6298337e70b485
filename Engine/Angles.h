// Degree and radian factors, as the renderer's rotations apply them (32-bit floats).
#pragma once

constexpr float RADIANS_TO_DEGREES = 57.29578f;
constexpr float DEGREES_TO_RADIANS = 0.017453292f;
