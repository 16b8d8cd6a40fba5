#include "keyscriptreplay.h"

#include <utility>

#include "dinput.h"
#include "model.h"

void HoldScriptKeys(ScriptedKeySource& source, unsigned keys)
{
    source.SetKeyDown(DIK_LEFT, (keys & kKeyLeft) != 0);
    source.SetKeyDown(DIK_RIGHT, (keys & kKeyRight) != 0);
    source.SetKeyDown(DIK_UP, (keys & kKeyUp) != 0);
    source.SetKeyDown(DIK_DOWN, (keys & kKeyDown) != 0);
    source.SetKeyDown(DIK_P, (keys & kKeyP) != 0);
}

CKeyScriptReplay::CKeyScriptReplay(KeyScript script)
    : m_Script(std::move(script)),
      m_Keys(std::make_shared<ScriptedKeySource>()),
      m_Time(std::make_shared<ORV_ManualTimeSource>())
{
    // The replay reads its keys whichever window has the keyboard.
    m_Keys->SetActive(true);
    m_LastClockReading = m_Time->NowMilliseconds();
}

bool CKeyScriptReplay::MayStep(CModel& model)
{
    if (model.IsPaused() == m_ScriptPaused)
        return true;
    if (model.IsPaused())
        return false;
    model.SetPaused(true);
    return true;
}

void CKeyScriptReplay::BeginStep()
{
    HoldScriptKeys(*m_Keys, m_Script.KeysAt(m_Step));
    m_Time->Advance(kStepMilliseconds);
}

void CKeyScriptReplay::EndStep(bool stepped, bool pausedAfter)
{
    ++m_Step;
    if (stepped)
        m_LastClockReading = m_Time->NowMilliseconds();
    m_ScriptPaused = pausedAfter;
}

void CKeyScriptReplay::Restart()
{
    m_Time->Advance(m_LastClockReading - m_Time->NowMilliseconds());
    m_Keys->ReleaseAll();
    m_Step = 0;
    m_ScriptPaused = false;
}
