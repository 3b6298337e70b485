// Helpers shared by the benchmark programs.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

// Runs fn with stderr sent nowhere: the console's echo and the map elements' traces would
// bury the results.
template <typename Fn>
void Quietly(Fn fn)
{
    fflush(stderr);
    const int saved = dup(2);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    fn();
    fflush(stderr);
    dup2(saved, 2);
    close(null);
    close(saved);
}
