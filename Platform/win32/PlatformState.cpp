#include "PlatformState.h"

PlatformState& Platform()
{
    static PlatformState* state = new PlatformState;
    return *state;
}
