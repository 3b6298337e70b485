// Reserved for a general physics service; the game steps its own ball physics.
#pragma once

class ThePhysicsSystem {
public:
    ThePhysicsSystem() = default;
    ~ThePhysicsSystem();

private:
    static bool _isInitialized;
};

extern ThePhysicsSystem thePhysicsSystem;
