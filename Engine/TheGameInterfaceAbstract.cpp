#include "Engine/TheGameInterfaceAbstract.h"

#include "Engine/AssertionFailure.h"

bool TheGameInterfaceAbstract::_isConstructed = false;
TheGameInterfaceAbstract* TheGameInterfaceAbstract::s_instance = nullptr;

TheGameInterfaceAbstract::TheGameInterfaceAbstract()
{
    FATAL_CHECK(!_isConstructed,
                "TheGameInterfaceAbstract was already constructed once - cannot have multiple instances!");
    s_instance = this;
    _isConstructed = true;
}

TheGameInterfaceAbstract::~TheGameInterfaceAbstract()
{
    FATAL_CHECK(_isConstructed, "TheGameInterfaceAbstract was destroyed unexpectedly (internal engine error!)");
    _isConstructed = false;
    s_instance = nullptr;
}
