#include "Game/MapElement.h"

#include "Engine/AssertionFailure.h"

MapElement::MapElement()
{
    DebugPrintf("MapElement() called\n");
}

MapElement::~MapElement()
{
    DebugPrintf("~MapElement() called\n");
}
