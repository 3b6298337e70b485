// The program's one clock: seconds since the first reading, from the performance counter.
#pragma once

#include <cstdint>

class Timer {
public:
    static double GetSeconds();
    static void Initialize();

private:
    static double s_secondsPerCount;
    static int64_t s_startCount;
};
