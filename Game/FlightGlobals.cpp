#include "Game/FlightGlobals.h"

FlightRecord theFlightRecord;

std::vector<Vec2f>& shotTrail = theFlightRecord.trail;
double& trailTimeLeft = theFlightRecord.trailTimeLeft;
bool& collisionPending = theFlightRecord.collisionPending;
bool& interpenetrationMark = theFlightRecord.interpenetrationMark;
bool& debugVectorsValid = theFlightRecord.debugVectorsValid;
Vertex*& lastCollisionVertex = theFlightRecord.lastCollisionVertex;
Linedef*& lastCollisionLinedef = theFlightRecord.lastCollisionLinedef;
Vec2f& debugVelocityBefore = theFlightRecord.debugVelocityBefore;
Vec2f& debugVelocityAfter = theFlightRecord.debugVelocityAfter;
Vec2f& debugTangent = theFlightRecord.debugTangent;
Vec2f& debugNormal = theFlightRecord.debugNormal;

bool debugOverlay = false;
bool freezeOnCollision = false;
double lastBounceSoundTime = 0.0;
double completeBob = 0.0;
