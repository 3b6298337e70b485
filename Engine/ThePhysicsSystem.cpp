#include "Engine/ThePhysicsSystem.h"

#include "Engine/AssertionFailure.h"

bool ThePhysicsSystem::_isInitialized = false;

ThePhysicsSystem::~ThePhysicsSystem()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("ThePhysicsSystem");
}
