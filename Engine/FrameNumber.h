// The number of frames the application has completed. TheApplication counts them; the map
// model's highlighting reads them. Kept in the engine's core so that reading it needs no window.
#pragma once

#include <cstdint>

int32_t GetCurrentFrameNumber();
void SetCurrentFrameNumber(int32_t frameNumber);
