// The game without a window: the graphics context on the headless device
// (a headless focus window and three headless views with the game's
// cameras), the model built exactly as the game builds it, a keyboard fed
// by a script, silence instead of sound, and a clock that advances 25 ms per
// tick. The tick is the game's own (RunGameTick).
//
// Owns everything it makes. Installs the headless Direct3D factory, the
// scripted key source and the silent sound sink while it lives, and puts
// back what was installed before when it is destroyed. One at a time.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "DIKeySource.h"
#include "ORV_Clock.h"
#include "d3d9.h"
#include "headlessview.h"
#include "keyboardinput.h"
#include "modelowner.h"

class HeadlessDevice;
class SoundSink;

class CHeadlessGame
{
public:
    static constexpr long kTickMilliseconds = 25;

    CHeadlessGame();
    ~CHeadlessGame();

    CHeadlessGame(const CHeadlessGame&) = delete;
    CHeadlessGame& operator=(const CHeadlessGame&) = delete;

    // Builds the context, the views and the model, in the main window's
    // order. False, with error set, when the context or a view cannot be
    // made.
    bool Start(std::string& error);

    // One tick with exactly keys (KeyScriptKey bits) held.
    void Tick(unsigned keys);

    CModel& GetModel() { return *m_Models.GetModel(); }
    std::uint64_t GetTickCount() const { return m_Ticks; }
    CHeadlessView& GetMainView() { return m_MainView; }
    CHeadlessView& GetGroundView() { return m_GroundView; }
    CHeadlessView& GetMapView() { return m_MapView; }
    ScriptedKeySource& GetKeys() { return *m_Keys; }
    // The game clock's time; each Tick advances it by kTickMilliseconds.
    ORV_ManualTimeSource& GetTime() { return *m_Time; }
    // The device behind the context, for tests; null before Start.
    HeadlessDevice* GetDevice();

    // The CSV trace: the header line, and the row after the current tick.
    static void WriteTraceHeader(std::ostream& out);
    void WriteTraceRow(std::ostream& out);

private:
    std::shared_ptr<ORV_ManualTimeSource> m_Time;
    std::shared_ptr<ScriptedKeySource> m_Keys;
    std::shared_ptr<DIKeySource> m_PreviousKeys;
    std::shared_ptr<SoundSink> m_PreviousSound;
    Direct3DFactory m_PreviousFactory;
    std::shared_ptr<HeadlessWindow> m_FocusWindow;
    CModelOwner m_Models;
    CHeadlessView m_MainView;
    CHeadlessView m_GroundView;
    CHeadlessView m_MapView;
    CKeyboardInput m_Keyboard;
    bool m_bPKeyWasDown = false;
    bool m_Started = false;
    std::uint64_t m_Ticks = 0;
};
