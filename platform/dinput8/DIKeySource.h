// What stands behind DirectInput's system keyboard.
//
// A key source tells whether the program may read the keyboard now (its main
// window is the active one) and what the 256 keys read. The program installs
// one before it creates the keyboard device; the device keeps a shared
// reference to it. The game shell installs a source fed by its window's key
// events; the headless run and the tests install a ScriptedKeySource.
#pragma once

#include <array>
#include <initializer_list>
#include <memory>

#include "wintypes.h"

using DIKeyState = std::array<BYTE, 256>;

class DIKeySource
{
public:
    virtual ~DIKeySource() = default;

    // True while the keyboard belongs to this program (a foreground device
    // is acquirable and readable only then).
    virtual bool IsActive() const = 0;
    // The state of every key, indexed by DIK_ code; 0x80 means down.
    virtual DIKeyState ReadKeys() const = 0;
};

// Installs the source behind GUID_SysKeyboard and returns the previous one
// (null for none). Devices created earlier keep the source they were given.
std::shared_ptr<DIKeySource> SetDIKeySource(std::shared_ptr<DIKeySource> source);
std::shared_ptr<DIKeySource> GetDIKeySource();

// A key source whose keys are set by hand: a test, or a replay that sets the
// held keys before every tick.
class ScriptedKeySource : public DIKeySource
{
public:
    bool IsActive() const override { return m_Active; }
    DIKeyState ReadKeys() const override { return m_Keys; }

    void SetActive(bool active) { m_Active = active; }
    // Codes outside 0..255 are ignored.
    void SetKeyDown(int code, bool down);
    // Exactly these keys are down afterwards.
    void SetKeysDown(std::initializer_list<int> codes);
    void ReleaseAll() { m_Keys.fill(0); }

private:
    bool m_Active = true;
    DIKeyState m_Keys{};
};
