// Shared pieces of the game-world tests: a private copy of the run folder's
// data to work in, and a peer that sets the model's flight state directly.
#pragma once

#include <filesystem>

#include "model.h"

// A fresh folder whose MeshFiles/, Textures/ and Sound/ link to the run
// folder's generated data (the meshes the game writes land in the copy, not
// in the shared run folder), worked in while it lives.
class ScopedDataFolder
{
public:
    ScopedDataFolder();
    ~ScopedDataFolder();
    ScopedDataFolder(const ScopedDataFolder&) = delete;
    ScopedDataFolder& operator=(const ScopedDataFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    static std::filesystem::path RunFolder() { return SOARE_TEST_RUN_DIR; }

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Path;
};

class CModelTestPeer
{
public:
    explicit CModelTestPeer(CModel& model) : m_Model(model) {}
    void SetSpeed(float speed) { m_Model.m_Speed = speed; }
    void SetRollAngle(double roll) { m_Model.m_RollAngle = roll; }
    void SetPitchAngle(double pitch) { m_Model.m_PitchAngle = pitch; }
    // Puts the craft at position, level and facing world +Z.
    void PlaceSoarerLevel(D3DXVECTOR3 position);
    ORV_SceneNode& Soarer() { return m_Model.m_Soarer; }

private:
    CModel& m_Model;
};
