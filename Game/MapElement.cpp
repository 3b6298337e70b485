#include "Game/MapElement.h"

#include "Engine/AssertionFailure.h"

bool MapElement::traceLines = true;

MapElement::MapElement()
{
    if (traceLines) DebugPrintf("MapElement() called\n");
}

MapElement::~MapElement()
{
    if (traceLines) DebugPrintf("~MapElement() called\n");
}
