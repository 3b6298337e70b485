// The game's one flight record and its parts under the names the game knows them by, with the
// debug switches and the timing of the sounds and the map-complete picture.
#pragma once

#include <vector>

#include "Engine/Vector.h"
#include "Game/BallPhysics.h"

class Linedef;
class Vertex;

extern FlightRecord theFlightRecord;

// Parts of theFlightRecord.
extern std::vector<Vec2f>& shotTrail;
extern double& trailTimeLeft;
extern bool& collisionPending;
extern bool& interpenetrationMark;
extern bool& debugVectorsValid;
extern Vertex*& lastCollisionVertex;
extern Linedef*& lastCollisionLinedef;
extern Vec2f& debugVelocityBefore;
extern Vec2f& debugVelocityAfter;
extern Vec2f& debugTangent;
extern Vec2f& debugNormal;

// P and F: the overlay of the last contact, and stopping after each bounce until G.
extern bool debugOverlay;
extern bool freezeOnCollision;
// Application seconds of the last bounce sound.
extern double lastBounceSoundTime;
// The map-complete picture's vertical offset, swinging between -8 and +8.
extern double completeBob;
