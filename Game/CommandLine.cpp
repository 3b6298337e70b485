// The ~ command line. Not built yet: no key opens it and no command runs.
#include "Game/Game.h"

bool Game::HandleCommandLineKey(uint8_t code)
{
    (void)code;
    return false;
}

bool Game::ExecuteCommand()
{
    return false;
}
