#include "model.h"

#include "ORVD3D_Cloud.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_PrimitiveMesh.h"
#include "ORVD3D_PrimitiveMeshAxis.h"
#include "ORVD3D_PrimitiveMeshCustom.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "mmsystem.h"

namespace {

struct Updraft
{
    D3DXVECTOR3 position;
    D3DXVECTOR3 scale;
};

constexpr Updraft kUpdrafts[] = {
    {{0.0f, 8.0f, 30.0f}, {3.0f, 3.0f, 3.0f}},       {{5.0f, 13.0f, 50.0f}, {10.0f, 10.0f, 10.0f}},
    {{15.0f, 13.0f, 10.0f}, {10.0f, 10.0f, 10.0f}},  {{-5.0f, 10.0f, 15.0f}, {10.0f, 10.0f, 10.0f}},
    {{-15.0f, 17.0f, 15.0f}, {10.0f, 10.0f, 10.0f}}, {{-25.0f, 10.0f, 15.0f}, {10.0f, 10.0f, 10.0f}},
    {{-35.0f, 15.0f, 35.0f}, {10.0f, 10.0f, 10.0f}},
};

constexpr float kStartSpeed = 0.1f;

// A light switched on and set up; the colours (red, green, blue, alpha) go
// into the light record as floats, unchanged.
struct LightSetup
{
    D3DXVECTOR3 position;
    D3DXVECTOR3 direction;
    float diffuse[4];
    float specular[4];
    float ambient[4];
};

constexpr LightSetup kPointLight{{-60.0f, 60.0f, -60.0f},
                                 {60.0f, 0.5f, 60.0f},
                                 {0.5f, 1.0f, 0.8f, 1.0f},
                                 {0.4f, 0.4f, 0.3f, 1.0f},
                                 {0.75f, 0.3f, 0.4f, 1.0f}};
constexpr LightSetup kDirectionalLight{{-60.0f, 60.0f, -60.0f},
                                       {60.0f, 0.5f, 60.0f},
                                       {0.5f, 0.5f, 0.5f, 1.0f},
                                       {0.6f, 0.6f, 0.6f, 1.0f},
                                       {0.1f, 1.0f, 0.7f, 1.0f}};

void SetUp(ORVD3D_Light& light, const LightSetup& setup)
{
    light.TurnOn();
    light.SetPosition(setup.position.x, setup.position.y, setup.position.z);
    light.SetDirection(setup.direction.x, setup.direction.y, setup.direction.z);
    light.SetDiffuse(setup.diffuse[0], setup.diffuse[1], setup.diffuse[2], setup.diffuse[3]);
    light.SetSpecular(setup.specular[0], setup.specular[1], setup.specular[2], setup.specular[3]);
    light.SetAmbient(setup.ambient[0], setup.ambient[1], setup.ambient[2], setup.ambient[3]);
}

}  // namespace

CModel::CModel(std::shared_ptr<const ORV_TimeSource> timeSource)
    : m_Clock(std::move(timeSource)),
      m_GameTime(0.0f),
      m_RootNode(L"root node"),
      m_Soarer(L"Soarer"),
      m_Target(L"Target"),
      m_Updrafts(L"Cloud"),
      m_RollAngle(0.0),
      m_PitchAngle(0.0),
      m_Speed(kStartSpeed),
      m_LeanLeft(false),
      m_LeanRight(false),
      m_LeanBackward(false),
      m_LeanForward(false),
      m_Landed(false),
      m_Paused(false),
      m_MapViewOff(FALSE),
      m_GroundViewOff(FALSE),
      m_CustomMesh(nullptr),
      m_PointLight(1),
      m_DirectionalLight(2),
      m_SpotLight(3)
{
    // The editor's grid mesh, under the root node the game never draws.
    auto* customNode = new ORV_SceneNode(L"CustomMesh");
    m_CustomMesh = new ORVD3D_PrimitiveMeshCustom(30, L"HiResMesh.x");
    m_CustomMesh->SetTexturing(true);
    m_CustomMesh->SetTextureFileName(L"Textures/central-park.jpg");
    customNode->SetPrimitive(m_CustomMesh);
    customNode->SetXformInfo(customNode->GetXformInfo());
    m_RootNode.AddChild(customNode);

    // The craft's nose points along its local -Z; the half turn makes it
    // fly toward world +Z.
    auto* soarerMesh = new ORVD3D_PrimitiveMesh(L"shusui.x");
    m_SoarerStartXform = m_Soarer.GetXformInfo();
    m_SoarerStartXform.SetScale(0.15f, 0.15f, 0.15f);
    m_SoarerStartXform.SetTranslation(3.0f, 6.0f, -25.5f);
    m_SoarerStartXform.RotateYDegrees(180.0f);
    m_Soarer.SetXformInfo(m_SoarerStartXform);
    m_Soarer.SetPrimitive(soarerMesh);

    for (const Updraft& updraft : kUpdrafts)
        AddUpdraft(updraft.position, updraft.scale);

    ResetFlight();

    // The target covers -1..1 on X and Z at its node's height; its X scale
    // is also the radius of the landing zone.
    auto* targetSquare = new ORV_PrimitiveRectangleXZ;
    targetSquare->SetCorners(1.0f, 0.0f, 1.0f, -1.0f, 0.0f, -1.0f);
    targetSquare->SetTexturing(true);
    targetSquare->SetTextureFileName(L"Textures/target.jpg");
    ORV_XformInfo targetXform = m_Target.GetXformInfo();
    targetXform.SetTranslation(23.0f, 5.05f, 16.0f);
    targetXform.SetScale(1.0f, 1.0f, 1.0f);
    m_Target.SetXformInfo(targetXform);
    m_Target.SetPrimitive(targetSquare);

    auto* axisNode = new ORV_SceneNode(L"axis frame");
    axisNode->SetPrimitive(new ORVD3D_PrimitiveMeshAxis(4.0f));
    m_RootNode.AddChild(axisNode);

    SetUp(m_PointLight, kPointLight);
    SetUp(m_DirectionalLight, kDirectionalLight);

    m_GameTime = 0.0f;
}

CModel::~CModel() = default;

void CModel::AddUpdraft(D3DXVECTOR3 position, D3DXVECTOR3 scale)
{
    auto* node = new ORV_SceneNode(L"SceneNode");
    auto* cloud = new ORVD3D_Cloud;
    cloud->SetBlending(true);
    cloud->SetTexturing(true);
    cloud->SetTextureFileName(L"Textures/updraft.png");
    ORV_XformInfo xform;
    xform.SetScale(scale.x, scale.y, scale.z);
    xform.SetTranslation(position.x, position.y, position.z);
    node->SetXformInfo(xform);
    node->SetPrimitive(cloud);
    m_Updrafts.AddChild(node);
}

void CModel::SetPaused(bool paused)
{
    m_Paused = paused;
    PlaySoundW(L"Sound/PauseBlip.wav", nullptr, SND_ASYNC);
}

void CModel::NewGame()
{
    // The clock, the target, the island, the updrafts' turn, the lights and
    // the view options keep their state.
    m_Soarer.SetXformInfo(m_SoarerStartXform);
    m_GameTime = 0.0f;
    ResetFlight();
}

void CModel::ResetFlight()
{
    m_RollAngle = 0.0;
    m_PitchAngle = 0.0;
    m_LeanLeft = m_LeanRight = m_LeanBackward = m_LeanForward = false;
    m_Speed = kStartSpeed;
    m_Landed = false;
    m_Paused = false;
}

D3DXVECTOR3 CModel::MapSoarerPoint(D3DXVECTOR3 local)
{
    // The craft node has no parent: its own transform is its world transform.
    ORVD3D_DrawHelper helper;
    helper.PushModelTransform();
    const ORV_XformInfo xform = m_Soarer.GetXformInfo();
    helper.AccumulateModelTransform(xform.GetTranslation(), xform.GetScale(), xform.GetRotationMatrix(),
                                    xform.GetPivot());
    helper.TransformPoint(&local);
    helper.PopModelTransform();
    return local;
}

D3DXVECTOR3 CModel::GetSoarerPosition()
{
    return MapSoarerPoint(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
}

D3DXVECTOR3 CModel::GetSoarerAheadPoint()
{
    return MapSoarerPoint(D3DXVECTOR3(0.0f, 0.0f, -1.0f));
}

D3DXVECTOR3 CModel::GetSoarerForward()
{
    return MapSoarerPoint(D3DXVECTOR3(0.0f, 0.0f, -1.0f)) - GetSoarerPosition();
}

D3DXVECTOR3 CModel::GetSoarerUp()
{
    return MapSoarerPoint(D3DXVECTOR3(0.0f, 1.0f, 0.0f)) - GetSoarerPosition();
}

D3DXVECTOR3 CModel::GetSoarerRight()
{
    return MapSoarerPoint(D3DXVECTOR3(1.0f, 0.0f, 0.0f)) - GetSoarerPosition();
}

void CModel::DrawScene()
{
    ORVD3D_DrawHelper helper;
    m_PointLight.Apply();
    m_DirectionalLight.Apply();
    m_SpotLight.Apply();
    m_DirectionalLight.DrawLight(helper);
    m_SpotLight.DrawLight(helper);
    m_PointLight.DrawLight(helper);
    const int lod = helper.GetLod();
    m_Island.Draw(lod, helper);
    m_Soarer.Draw(lod, helper);
    m_Updrafts.Draw(lod, helper);
    m_Target.Draw(lod, helper);
}
