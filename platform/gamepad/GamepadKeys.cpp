#include "GamepadKeys.h"

#include <SDL.h>

#include <algorithm>

#include "SdlSubsystems.h"
#include "dinput.h"

namespace {

void Hold(DIKeyState& keys, int code)
{
    keys[static_cast<std::size_t>(code)] = 0x80;
}

}  // namespace

void HoldGamepadKeys(const GamepadReading& reading, DIKeyState& keys)
{
    // Forward on a stick is up on the d-pad and the Up arrow: nose down.
    if (reading.left || reading.x < -kGamepadHalfTravel)
        Hold(keys, DIK_LEFT);
    if (reading.right || reading.x > kGamepadHalfTravel)
        Hold(keys, DIK_RIGHT);
    if (reading.up || reading.y < -kGamepadHalfTravel)
        Hold(keys, DIK_UP);
    if (reading.down || reading.y > kGamepadHalfTravel)
        Hold(keys, DIK_DOWN);
    if (reading.pause)
        Hold(keys, DIK_P);
}

// One open controller: through its game-controller mapping when SDL knows
// one, else as a bare joystick.
struct GamepadKeys::Controller
{
    SDL_JoystickID id = -1;
    SDL_GameController* pad = nullptr;
    SDL_Joystick* stick = nullptr;

    Controller() = default;
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;
    ~Controller()
    {
        if (pad)
            SDL_GameControllerClose(pad);
        if (stick)
            SDL_JoystickClose(stick);
    }

    bool IsAttached() const
    {
        return pad ? SDL_GameControllerGetAttached(pad) == SDL_TRUE : SDL_JoystickGetAttached(stick) == SDL_TRUE;
    }

    GamepadReading Read() const
    {
        GamepadReading reading;
        if (pad) {
            reading.x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
            reading.y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
            reading.left = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0;
            reading.right = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0;
            reading.up = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP) != 0;
            reading.down = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN) != 0;
            reading.pause = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_START) != 0 ||
                            SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A) != 0;
        } else {
            // A joystick missing an axis or the button reads 0 there.
            reading.x = SDL_JoystickGetAxis(stick, 0);
            reading.y = SDL_JoystickGetAxis(stick, 1);
            reading.pause = SDL_JoystickGetButton(stick, 0) != 0;
        }
        return reading;
    }
};

GamepadKeys::GamepadKeys() = default;

GamepadKeys::~GamepadKeys()
{
    m_Controllers.clear();
    if (m_Started)
        StopSdlSubsystems(SDL_INIT_GAMECONTROLLER);
}

bool GamepadKeys::Start()
{
    if (!m_Tried) {
        m_Tried = true;
        m_Started = StartSdlSubsystems(SDL_INIT_GAMECONTROLLER);
        if (m_Started) {
            // The state is read when polled; events would only pile up in
            // a queue that nobody empties.
            SDL_JoystickEventState(SDL_IGNORE);
            SDL_GameControllerEventState(SDL_IGNORE);
        }
    }
    return m_Started;
}

void GamepadKeys::DropUnplugged()
{
    std::erase_if(m_Controllers,
                  [](const std::unique_ptr<Controller>& controller) { return !controller->IsAttached(); });
}

bool GamepadKeys::OpenPluggedIn()
{
    bool opened = false;
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
        if (id < 0)
            continue;
        const auto isOpen = [id](const std::unique_ptr<Controller>& controller) { return controller->id == id; };
        if (std::ranges::any_of(m_Controllers, isOpen) || std::ranges::count(m_Unopenable, id) > 0)
            continue;
        auto controller = std::make_unique<Controller>();
        controller->id = id;
        if (SDL_IsGameController(index))
            controller->pad = SDL_GameControllerOpen(index);
        else
            controller->stick = SDL_JoystickOpen(index);
        if (!controller->pad && !controller->stick) {
            // Not ours to read (no permission, gone already): not tried
            // again on every tick.
            m_Unopenable.push_back(id);
            continue;
        }
        m_Controllers.push_back(std::move(controller));
        opened = true;
    }
    return opened;
}

DIKeyState GamepadKeys::Poll()
{
    DIKeyState keys{};
    if (!Start())
        return keys;
    // Finds controllers plugged in or pulled out, and reads the state of
    // the open ones.
    SDL_GameControllerUpdate();
    DropUnplugged();
    // A controller just plugged in is read on this very poll.
    if (OpenPluggedIn())
        SDL_GameControllerUpdate();
    for (const std::unique_ptr<Controller>& controller : m_Controllers)
        if (controller->IsAttached())
            HoldGamepadKeys(controller->Read(), keys);
    return keys;
}
