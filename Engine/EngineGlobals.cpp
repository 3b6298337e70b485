// Every engine singleton but the console (the core's, CoreGlobals.cpp), in the order written
// here, with the console between the application and the rest; destruction is the reverse. The
// priorities make them exist before, and outlive, the game's own static objects.
#include "Engine/Compiler.h"
#include "Engine/TheApplication.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheMessageHandler.h"
#include "Engine/TheNetwork.h"
#include "Engine/ThePhysicsSystem.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"
#include "Engine/TheSoundSystem.h"

PW_STATICS_FIRST
#define ENGINE_GLOBAL PW_CONSTRUCT_EARLY

// The name comes first: a singleton destroyed while running reports the failure with it
// in the message-box titles, so it must outlive them all.
std::string TheApplication::s_name PW_CONSTRUCT_FIRST =
    "UNNAMED APPLICATION : Call theApplication.SetName() from PreInit() to set name!";
TheApplication theApplication PW_CONSTRUCT_FIRST;
TheInputSystem theInputSystem ENGINE_GLOBAL;
TheMessageHandler theMessageHandler ENGINE_GLOBAL;
TheVideoSystem theVideoSystem ENGINE_GLOBAL;
TheSoundSystem theSoundSystem ENGINE_GLOBAL;
TheRenderer theRenderer ENGINE_GLOBAL;
ThePhysicsSystem thePhysicsSystem ENGINE_GLOBAL;
TheNetwork theNetwork ENGINE_GLOBAL;
