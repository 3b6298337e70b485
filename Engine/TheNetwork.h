// Reserved for networked play; nothing starts or calls it yet.
#pragma once

class TheNetwork {
public:
    TheNetwork() = default;
    ~TheNetwork();

private:
    static bool _isInitialized;
};

extern TheNetwork theNetwork;
