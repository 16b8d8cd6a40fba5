// The flight simulation: one fixed step of the game model per tick. Every
// distance, angle and speed change is per step; only the game time uses
// real time.
//
// Precision follows the model's types: the angles are doubles and their
// constants are applied in double precision; the speed is a float whose
// comparisons and changes are made on the widened value and rounded back.
#include <cmath>
#include <cstdio>
#include <cwchar>

#include "ORVD3D_PrimitiveMesh.h"
#include "ORV_BoundingBox.h"
#include "ORV_DrawHelper.h"
#include "ORV_ProblemReport.h"
#include "ORV_StatusEcho.h"
#include "QuotedText.h"
#include "Utf8.h"
#include "model.h"

namespace {

constexpr double kBankStep = 1.25;
constexpr double kBankLimit = 20.0;
constexpr double kPitchStep = 1.25;
constexpr double kPitchLimit = 20.0;
constexpr float kSpeedPerPitchStep = 0.005f;
constexpr double kTurnPerDegreeOfBank = 0.1;
constexpr double kLevelOutStep = 0.25;
constexpr double kSinkSpeedDivisor = 10.0;
constexpr double kSinkConstant = 0.021;
constexpr float kMinSpeed = 0.005f;
constexpr float kMaxSpeed = 0.2f;
constexpr double kLandingHeightTolerance = 0.1;
constexpr double kLandingMaxSpeed = 0.05;
constexpr float kUpdraftTurnDegrees = 0.1f;
constexpr float kOceanFloor = 0.5f;
// No craft is larger than the island it flies over (60 x 60 cells of one
// unit): a bigger box comes from a broken mesh, and pushing the craft out of
// a block by that much would throw it out of the world.
constexpr float kLargestCraftSize = 60.0f;

float AddToSpeed(float speed, float change)
{
    return static_cast<float>(static_cast<double>(speed) + static_cast<double>(change));
}

void EchoValue(void (*echo)(const wchar_t*), double value)
{
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"%f", value);
    echo(text);
}

}  // namespace

void CModel::Simulate()
{
    // 1. The clock is read on every step; a landed craft's time stands still.
    const float dt = m_Clock.GetElapsedSeconds();
    if (!m_Landed)
        m_GameTime += dt;

    // 2.-6. Steering, heading, levelling out and the move.
    if (m_LeanLeft || m_LeanRight)
        ApplyBank();
    if (m_LeanBackward || m_LeanForward)
        ApplyPitch();
    Turn();
    LevelOut();
    MoveForward();

    // 7. The speed band, after the move: the move used the speed as the
    // pitch step left it.
    if (static_cast<double>(m_Speed) < static_cast<double>(kMinSpeed))
        m_Speed = kMinSpeed;
    else if (static_cast<double>(m_Speed) > static_cast<double>(kMaxSpeed))
        m_Speed = kMaxSpeed;

    // 8. Landing: resting slowly on the target. The target's X scale is the
    // radius of the landing zone.
    {
        const D3DXVECTOR3 p = GetSoarerPosition();
        const ORV_XformInfo targetXform = m_Target.GetXformInfo();
        const D3DXVECTOR3 t = targetXform.GetTranslation();
        const D3DXVECTOR3 s = targetXform.GetScale();
        const float dx = t.x - p.x;
        const float dz = t.z - p.z;
        const float d = std::sqrt(dx * dx + dz * dz);
        if (d <= s.x && std::fabs(static_cast<double>(p.y - t.y)) <= kLandingHeightTolerance &&
            static_cast<double>(m_Speed) <= kLandingMaxSpeed)
            m_Landed = true;
    }

    // 9. The decorative updrafts turn slowly about their own Z axis.
    ORV_XformInfo updraftXform = m_Updrafts.GetXformInfo();
    updraftXform.RotateZDegrees(kUpdraftTurnDegrees);
    m_Updrafts.SetXformInfo(updraftXform);

    // 10.-11. The island pushes and lifts.
    CollideWithIsland();
    ApplyThermalLift();

    // 12. The ocean holds the craft at its surface.
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    D3DXVECTOR3 position = xform.GetTranslation();
    if (position.y < kOceanFloor) {
        position.y = kOceanFloor;
        xform.SetTranslation(position.x, position.y, position.z);
        m_Soarer.SetXformInfo(xform);
    }

    // 13. Read-outs.
    EchoValue(EchoToStatus1, position.y);
    EchoValue(EchoToStatus2, m_Speed);
    EchoValue(EchoToStatus3, m_GameTime);
}

void CModel::ApplyBank()
{
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    // Right wins when both are asked for, unless the bank is already at its
    // right limit.
    if (m_LeanRight && m_RollAngle > -kBankLimit) {
        xform.RotateZDegrees(static_cast<float>(-kBankStep));
        m_RollAngle -= kBankStep;
    } else if (m_LeanLeft && m_RollAngle < kBankLimit) {
        xform.RotateZDegrees(static_cast<float>(kBankStep));
        m_RollAngle += kBankStep;
    }
    m_Soarer.SetXformInfo(xform);
    m_LeanLeft = false;
    m_LeanRight = false;
}

void CModel::ApplyPitch()
{
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    // Pitching up costs speed, pitching down gains it; the band is applied
    // after the move.
    if (m_LeanBackward && m_PitchAngle < kPitchLimit) {
        xform.RotateXDegrees(static_cast<float>(kPitchStep));
        m_PitchAngle += kPitchStep;
        m_Speed = AddToSpeed(m_Speed, -kSpeedPerPitchStep);
    } else if (m_LeanForward && m_PitchAngle > -kPitchLimit) {
        xform.RotateXDegrees(static_cast<float>(-kPitchStep));
        m_PitchAngle -= kPitchStep;
        m_Speed = AddToSpeed(m_Speed, kSpeedPerPitchStep);
    }
    m_Soarer.SetXformInfo(xform);
    m_LeanForward = false;
    m_LeanBackward = false;
}

void CModel::Turn()
{
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    const auto theta = static_cast<float>(static_cast<float>(m_RollAngle) * kTurnPerDegreeOfBank);
    // On the left of the rotation the turn is about the world's vertical,
    // so bank and pitch keep their meaning while the heading changes.
    if (m_RollAngle != 0.0)
        xform.Rotate(ORV_Quaternion::FromAxisAngleDegrees(D3DXVECTOR3(0.0f, 1.0f, 0.0f), theta));
    m_Soarer.SetXformInfo(xform);
}

void CModel::LevelOut()
{
    // Multiples of 0.25 are exact, so both angles come back to exactly 0.
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    // One step of an angle back toward 0, the craft turned with it.
    auto stepBack = [&xform](double& angle, void (ORV_XformInfo::*rotate)(float)) {
        if (angle == 0.0)
            return;
        const double step = angle > 0.0 ? -kLevelOutStep : kLevelOutStep;
        (xform.*rotate)(static_cast<float>(step));
        angle += step;
    };
    stepBack(m_RollAngle, &ORV_XformInfo::RotateZDegrees);
    stepBack(m_PitchAngle, &ORV_XformInfo::RotateXDegrees);
    m_Soarer.SetXformInfo(xform);
}

void CModel::MoveForward()
{
    D3DXVECTOR3 forward = GetSoarerForward();
    D3DXVec3Normalize(&forward, &forward);
    const D3DXVECTOR3 p = GetSoarerPosition();
    D3DXVECTOR3 n = p + forward * m_Speed;
    // The sink is worked out in double precision and added as a float: the
    // faster the craft, the slower it sinks.
    n.y += static_cast<float>(static_cast<double>(m_Speed) / kSinkSpeedDivisor - kSinkConstant);
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    xform.SetTranslation(n.x, n.y, n.z);
    m_Soarer.SetXformInfo(xform);
}

bool CModel::IsUsableCraftSize(const ORV_BoundingBox& bounds, D3DXVECTOR3 scale)
{
    const D3DXVECTOR3 center = bounds.GetCenter();
    if (!std::isfinite(center.x) || !std::isfinite(center.y) || !std::isfinite(center.z))
        return false;
    for (const float size : {bounds.Width() * scale.x, bounds.Height() * scale.y, bounds.Depth() * scale.z})
        if (!(std::isfinite(size) && std::fabs(size) <= kLargestCraftSize))
            return false;
    return true;
}

void CModel::CollideWithIsland()
{
    // Through the plain drawing interface no transform applies, so the
    // bounds come out in the craft's own coordinates; the craft's scale is
    // applied here instead.
    ORV_DrawHelper plain;
    ORV_BoundingBox bounds = m_Soarer.GetBounds(plain, false);
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    const D3DXVECTOR3 scale = xform.GetScale();
    // A size that is no number, or absurd, would carry the craft out of the
    // world: the craft collides as it does when its mesh is missing.
    if (bounds.IsValid() && !IsUsableCraftSize(bounds, scale)) {
        if (!m_CraftSizeReported)
            ReportUnusableCraftSize(bounds, scale);
        m_CraftSizeReported = true;
        bounds.MakeInvalid();
    }
    const D3DXVECTOR3 center = bounds.GetCenter();
    const ORV_BoundingBox box(center.x, center.y, center.z, bounds.Width() * scale.x, bounds.Height() * scale.y,
                              bounds.Depth() * scale.z);
    const D3DXVECTOR3 n = m_Island.PushOutOfBlocks(&box, xform.GetTranslation());
    xform.SetTranslation(n.x, n.y, n.z);
    m_Soarer.SetXformInfo(xform);
}

void CModel::ApplyThermalLift()
{
    ORV_XformInfo xform = m_Soarer.GetXformInfo();
    const D3DXVECTOR3 n = m_Island.GetThermalLift(xform.GetTranslation());
    xform.SetTranslation(n.x, n.y, n.z);
    m_Soarer.SetXformInfo(xform);
}

void CModel::ReportUnusableCraftSize(const ORV_BoundingBox& bounds, D3DXVECTOR3 scale)
{
    const auto* mesh = dynamic_cast<const ORVD3D_PrimitiveMesh*>(m_Soarer.GetPrimitive());
    const std::wstring name = mesh != nullptr ? mesh->GetMeshFileName() : L"the craft's mesh";
    char size[160];
    std::snprintf(size, sizeof size, "%g x %g x %g", static_cast<double>(bounds.Width() * scale.x),
                  static_cast<double>(bounds.Height() * scale.y), static_cast<double>(bounds.Depth() * scale.z));
    ORV_ReportProblem(WideToUtf8(QuoteText(name)) + ": the craft's size from this mesh (" + size +
                      ") is not usable; the craft collides as if its mesh were missing");
}
