#include "variometer.h"

#include <algorithm>
#include <cmath>

#include "dinput.h"
#include "keyboardinput.h"
#include "model.h"

namespace {

constexpr float kLiftFrom = 0.1f;   // climb per second that beeps
constexpr float kSinkFrom = -1.0f;  // sink per second that sounds: more than any glide (at most 0.82)
constexpr float kJump = 20.0f;      // no flight climbs or sinks this fast

}  // namespace

VarioTone CVariometer::ToneForClimb(float climbPerStep)
{
    const float v = climbPerStep * kStepsPerSecond;
    if (!std::isfinite(v) || std::fabs(v) > kJump)
        return {};
    if (v >= kLiftFrom)
        return {true, std::min(600.0f + 125.0f * v, 1600.0f), std::min(2.0f + v, 10.0f)};
    if (v <= kSinkFrom)
        return {true, std::max(325.0f + 25.0f * v, 200.0f), 0.0f};
    return {};
}

CVariometer::~CVariometer()
{
    if (m_On)
        Send(std::nullopt);
}

void CVariometer::SetOn(bool on)
{
    if (on == m_On)
        return;
    m_On = on;
    Send(on ? std::optional<VarioTone>(VarioTone{}) : std::nullopt);
}

void CVariometer::ReadToggle(const CKeyboardInput& keyboard)
{
    if (keyboard.IsKeyDown(DIK_V)) {
        m_VKeyWasDown = true;
    } else if (m_VKeyWasDown) {
        m_VKeyWasDown = false;
        SetOn(!m_On);
    }
}

void CVariometer::OnIdle(const CKeyboardInput& keyboard)
{
    ReadToggle(keyboard);
    if (m_On)
        Send(VarioTone{});
}

void CVariometer::OnStep(const CKeyboardInput& keyboard, CModel& model)
{
    ReadToggle(keyboard);

    // The height is followed while off too, so the first step after
    // switching on already has a climb.
    const float height = model.GetSoarerPosition().y;
    const float climb = m_LastHeight ? height - *m_LastHeight : 0.0f;
    m_LastHeight = height;
    if (!m_On)
        return;
    Send(model.IsPaused() || model.IsLanded() ? VarioTone{} : ToneForClimb(climb));
}

void CVariometer::Send(const std::optional<VarioTone>& tone)
{
    if (tone == m_Sent)
        return;
    m_Sent = tone;
    SetVarioSound(tone);
}
