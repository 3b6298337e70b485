#include "Engine/TheNetwork.h"

#include "Engine/AssertionFailure.h"

bool TheNetwork::_isInitialized = false;

TheNetwork::~TheNetwork()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheNetwork");
}
