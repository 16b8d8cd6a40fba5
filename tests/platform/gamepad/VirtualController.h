// A controller plugged into SDL (a virtual joystick) for as long as it lives
// or until Unplug; SDL's game-controller subsystem must run meanwhile.
#pragma once

#include <SDL.h>

class VirtualController
{
public:
    // A pad SDL makes a mapping for, numbered as SDL_GameController*.
    static VirtualController Pad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Virtual pad";
        return VirtualController(SDL_JoystickAttachVirtualEx(&desc));
    }
    // A flight stick SDL has no mapping for.
    static VirtualController Stick(int axes, int buttons)
    {
        return VirtualController(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, axes, buttons, 0));
    }

    VirtualController(const VirtualController&) = delete;  // returned by value all the same
    ~VirtualController() { Unplug(); }

    bool IsPlugged() const { return m_Joystick != nullptr; }
    void SetAxis(int axis, int value) { SDL_JoystickSetVirtualAxis(m_Joystick, axis, static_cast<Sint16>(value)); }
    void SetButton(int button, bool down) { SDL_JoystickSetVirtualButton(m_Joystick, button, down ? 1 : 0); }
    void Unplug()
    {
        if (!m_Joystick)
            return;
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == m_Id)
                SDL_JoystickDetachVirtual(index);
        SDL_JoystickClose(m_Joystick);
        m_Joystick = nullptr;
    }

private:
    explicit VirtualController(int index)
        : m_Joystick(index < 0 ? nullptr : SDL_JoystickOpen(index)),
          m_Id(index < 0 ? -1 : SDL_JoystickGetDeviceInstanceID(index))
    {}

    SDL_Joystick* m_Joystick;
    SDL_JoystickID m_Id;
};
