// The game's one interface instance, through which the engine reaches the game.
#include "Game/GameInterface.h"

static TheGameInterface theGameInterface;
