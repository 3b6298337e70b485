#include "Engine/Timer.h"

#include <windows.h>

#include "Engine/AssertionFailure.h"

double Timer::s_secondsPerCount = 0.0;
int64_t Timer::s_startCount = 0;

void Timer::Initialize()
{
    LARGE_INTEGER queryPerfCountsPerSec;
    queryPerfCountsPerSec.QuadPart = 0;
    const BOOL success = QueryPerformanceFrequency(&queryPerfCountsPerSec);
    FATAL_CHECK(success, "The system performance timer failed to initialize.");
    FATAL_CHECK(queryPerfCountsPerSec.QuadPart, "The system performance timer reported a frequency of 0.");
    s_secondsPerCount = 1.0 / static_cast<double>(queryPerfCountsPerSec.QuadPart);

    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    s_startCount = now.QuadPart;
}

double Timer::GetSeconds()
{
    if (s_secondsPerCount == 0.0) Initialize();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - s_startCount) * s_secondsPerCount;
}
