// The one door through which the engine calls the game.
#pragma once

#include <cstdint>
#include <string>

enum InputEventType : int32_t {
    KEY_PRESSED = 1,
    KEY_REPEATED = 2,
    KEY_RELEASED = 3,
    WHEEL_FORWARD = 4,
    WHEEL_BACKWARD = 5,
};

class TheGameInterfaceAbstract {
public:
    TheGameInterfaceAbstract();
    virtual ~TheGameInterfaceAbstract();

    virtual void PreInit() {}
    virtual void PostInit() {}
    virtual void RunFrame() {}
    virtual void PreShutdown() {}
    virtual void ProcessCommandLine(std::string commandLine) { (void)commandLine; }
    virtual bool HandleInputEvent(int32_t type, uint8_t code)
    {
        (void)type;
        (void)code;
        return false;
    }
    // The window's close box: true lets the program end now. A game can keep it running
    // once, to warn about work that would be lost.
    virtual bool MayClose() { return true; }

    static bool IsGamePresent() { return _isConstructed; }
    static TheGameInterfaceAbstract* GetInstance() { return s_instance; }

private:
    static bool _isConstructed;
    static TheGameInterfaceAbstract* s_instance;
};
