// The program's one clock: seconds since the first reading, from the performance counter.
#pragma once

#include <cstdint>

class Timer {
public:
    static double GetSeconds();

private:
    static void Initialize();  // on the first reading
    static double s_secondsPerCount;
    static int64_t s_startCount;
};
