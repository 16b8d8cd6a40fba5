#include "GameTestSupport.h"

#include <stdlib.h>

#include <stdexcept>

namespace fs = std::filesystem;

ScopedDataFolder::ScopedDataFolder() : m_Previous(fs::current_path())
{
    std::string pattern = (fs::temp_directory_path() / "soare-game-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_Path = pattern;
    const fs::path run = RunFolder();
    fs::create_directory(m_Path / "MeshFiles");
    // Only the asset maker's meshes: the ones the game writes are written
    // anew here.
    for (const char* mesh : {"box.x", "cylinder.x", "cone.x", "sphere.x", "shusui.x"})
        fs::create_symlink(run / "MeshFiles" / mesh, m_Path / "MeshFiles" / mesh);
    fs::create_directory_symlink(run / "Textures", m_Path / "Textures");
    fs::create_directory_symlink(run / "Sound", m_Path / "Sound");
    fs::current_path(m_Path);
}

ScopedDataFolder::~ScopedDataFolder()
{
    std::error_code ec;
    fs::current_path(m_Previous, ec);
    fs::remove_all(m_Path, ec);
}

void CModelTestPeer::PlaceSoarerLevel(D3DXVECTOR3 position)
{
    ORV_XformInfo xform = m_Model.m_SoarerStartXform;
    xform.SetTranslation(position.x, position.y, position.z);
    m_Model.m_Soarer.SetXformInfo(xform);
    m_Model.m_RollAngle = 0.0;
    m_Model.m_PitchAngle = 0.0;
}
