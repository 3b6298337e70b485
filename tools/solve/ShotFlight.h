// The solver flies shots with the game's own flight.
#pragma once

#include "Game/ShotFlight.h"
