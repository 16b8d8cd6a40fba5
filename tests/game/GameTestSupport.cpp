#include "GameTestSupport.h"

#include <stdlib.h>

#include <cmath>

namespace fs = std::filesystem;

fs::path ScopedDataFolder::RunFolder()
{
    return fs::path(SOARE_TEST_RUN_DIR);
}

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

std::shared_ptr<StatusRecorder> StatusRecorder::Bind(int slot)
{
    auto recorder = std::make_shared<StatusRecorder>();
    recorder->m_Slot = slot;
    BindStatusWindow(slot, recorder);
    return recorder;
}

StatusRecorder::~StatusRecorder()
{
    BindStatusWindow(m_Slot, {});
}

void CModelTestPeer::PlaceSoarer(D3DXVECTOR3 position)
{
    ORV_XformInfo xform = m_Model.m_Soarer.GetXformInfo();
    xform.SetTranslation(position.x, position.y, position.z);
    m_Model.m_Soarer.SetXformInfo(xform);
}

void CModelTestPeer::PlaceSoarerLevel(D3DXVECTOR3 position)
{
    ORV_XformInfo xform = m_Model.m_SoarerStartXform;
    xform.SetTranslation(position.x, position.y, position.z);
    m_Model.m_Soarer.SetXformInfo(xform);
    m_Model.m_RollAngle = 0.0;
    m_Model.m_PitchAngle = 0.0;
}

double HeadingDegrees(D3DXVECTOR3 direction)
{
    return std::atan2(static_cast<double>(direction.x), static_cast<double>(direction.z)) * 180.0 / M_PI;
}
