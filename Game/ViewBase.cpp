#include "Game/ViewBase.h"

#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"

ViewBase::ViewBase()
{
    theConsole.Printf("Constructing ViewBase #%u\n", InstanceNumber(this));
}

ViewBase::~ViewBase() {}

void ViewBase::Draw()
{
    if (!visible) return;
    theRenderer.SetOrtho(Vec2f::ZERO, Vec2f::ONE);
    theRenderer.Clear(backgroundColor * 0.5f);
}

bool ViewBase::HandleInputEvent(int32_t, uint8_t)
{
    return false;
}
