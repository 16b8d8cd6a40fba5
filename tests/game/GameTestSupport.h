// Shared pieces of the game-world tests: a private copy of the run folder's
// data to work in, a recorder for the status slots, and a peer that sets the
// model's flight state directly.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ORV_StatusEcho.h"
#include "model.h"

// Makes a fresh folder whose MeshFiles/, Textures/ and Sound/ link to the
// run folder's generated data (so the meshes the game writes land in the
// copy, not in the shared run folder), and works in it while it lives.
class ScopedDataFolder
{
public:
    ScopedDataFolder();
    ~ScopedDataFolder();
    ScopedDataFolder(const ScopedDataFolder&) = delete;
    ScopedDataFolder& operator=(const ScopedDataFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    static std::filesystem::path RunFolder();

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Path;
};

// Keeps every text written to one status slot while bound.
class StatusRecorder : public ORV_IStatusText
{
public:
    static std::shared_ptr<StatusRecorder> Bind(int slot);
    ~StatusRecorder() override;
    void SetStatusText(const std::wstring& text) override { m_Texts.push_back(text); }
    const std::vector<std::wstring>& Texts() const { return m_Texts; }
    std::wstring Last() const { return m_Texts.empty() ? std::wstring() : m_Texts.back(); }

private:
    int m_Slot = 0;
    std::vector<std::wstring> m_Texts;
};

class CModelTestPeer
{
public:
    explicit CModelTestPeer(CModel& model) : m_Model(model) {}
    void SetSpeed(float speed) { m_Model.m_Speed = speed; }
    void SetRollAngle(double roll) { m_Model.m_RollAngle = roll; }
    void SetPitchAngle(double pitch) { m_Model.m_PitchAngle = pitch; }
    void SetLanded(bool landed) { m_Model.m_Landed = landed; }
    void SetGameTime(float time) { m_Model.m_GameTime = time; }
    // Puts the craft at position, keeping its attitude and scale.
    void PlaceSoarer(D3DXVECTOR3 position);
    // Puts the craft at position, level and facing world +Z.
    void PlaceSoarerLevel(D3DXVECTOR3 position);
    bool LeanLeftSet() const { return m_Model.m_LeanLeft; }
    bool LeanRightSet() const { return m_Model.m_LeanRight; }
    bool LeanForwardSet() const { return m_Model.m_LeanForward; }
    bool LeanBackwardSet() const { return m_Model.m_LeanBackward; }
    ORV_SceneNode& Soarer() { return m_Model.m_Soarer; }

private:
    CModel& m_Model;
};

// Heading of a horizontal direction, degrees, atan2(x, z).
double HeadingDegrees(D3DXVECTOR3 direction);
