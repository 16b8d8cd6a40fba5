// The single game model: every object of the game scene (the craft, the
// target, the island, the seven decorative updraft clouds, the lights and
// the editor-only scene tree), the craft's flight state, the game clock and
// time, the pause flag and the two view options.
//
// Owns its member nodes, the island and the lights by value; nodes made with
// new and added as children are owned by their parents, and every node owns
// its primitive, so destroying the model destroys the whole scene. One
// instance, made and deleted by its owner (CModelOwner).
#pragma once

#include <memory>

#include "ORVD3D_DirectionalLight.h"
#include "ORVD3D_PointLight.h"
#include "ORVD3D_SpotLight.h"
#include "ORV_BoundingBox.h"
#include "ORV_Clock.h"
#include "ORV_SceneNode.h"
#include "ORV_XformInfo.h"
#include "d3dx9math.h"
#include "island.h"
#include "wintypes.h"

class ORVD3D_PrimitiveMeshCustom;

class CModel
{
public:
    // Builds the scene. The game clock reads timeSource (the steady wall
    // clock when null).
    explicit CModel(std::shared_ptr<const ORV_TimeSource> timeSource = nullptr);
    ~CModel();

    CModel(const CModel&) = delete;
    CModel& operator=(const CModel&) = delete;

    // Draws the game scene into the current view (after the view has set
    // its camera and cleared).
    void DrawScene();

    ORV_SceneNode* GetRootNode() { return &m_RootNode; }
    ORVD3D_PrimitiveMeshCustom* GetCustomMesh() { return m_CustomMesh; }

    // The craft's frame in world space. The axes carry the craft's scale
    // (length 0.15), and the ahead point lies 0.15 ahead of the position.
    D3DXVECTOR3 GetSoarerPosition();
    D3DXVECTOR3 GetSoarerAheadPoint();
    D3DXVECTOR3 GetSoarerForward();
    D3DXVECTOR3 GetSoarerUp();
    D3DXVECTOR3 GetSoarerRight();

    // Steering requests, each consumed by the next simulation step.
    void LeanLeft() { m_LeanLeft = true; }
    void LeanRight() { m_LeanRight = true; }
    void LeanBackward() { m_LeanBackward = true; }
    void LeanForward() { m_LeanForward = true; }

    bool IsPaused() const { return m_Paused; }
    // Stores the flag and plays the pause blip, on every call.
    void SetPaused(bool paused);

    void AddUpdraft(D3DXVECTOR3 position, D3DXVECTOR3 scale);

    // Puts the craft back at its start, flying, with the game time at 0.
    void NewGame();

    void SetMapViewOff(BOOL off) { m_MapViewOff = off; }
    BOOL IsMapViewOff() const { return m_MapViewOff; }
    void SetGroundViewOff(BOOL off) { m_GroundViewOff = off; }
    BOOL IsGroundViewOff() const { return m_GroundViewOff; }

    // Advances the game by one step (model_simulation.cpp).
    void Simulate();

    // Read-only views of the flight state, for the trace of a headless run
    // and for tests.
    const ORV_SceneNode& GetSoarer() const { return m_Soarer; }
    const ORV_SceneNode& GetTarget() const { return m_Target; }
    const ORV_SceneNode& GetUpdrafts() const { return m_Updrafts; }
    const CIsland& GetIsland() const { return m_Island; }
    double GetRollAngle() const { return m_RollAngle; }
    double GetPitchAngle() const { return m_PitchAngle; }
    float GetSpeed() const { return m_Speed; }
    bool IsLanded() const { return m_Landed; }
    float GetGameTime() const { return m_GameTime; }
    const ORVD3D_PointLight& GetPointLight() const { return m_PointLight; }
    const ORVD3D_DirectionalLight& GetDirectionalLight() const { return m_DirectionalLight; }
    const ORVD3D_SpotLight& GetSpotLight() const { return m_SpotLight; }

private:
    friend class CModelTestPeer;  // tests set flight states directly

    // The steps of Simulate.
    void ApplyBank();
    void ApplyPitch();
    void Turn();
    void LevelOut();
    void MoveForward();
    void CollideWithIsland();
    void ApplyThermalLift();

    // False for a craft box (in mesh coordinates, before scale) whose
    // centre or scaled sizes are not finite or larger than the island.
    static bool IsUsableCraftSize(const ORV_BoundingBox& bounds, D3DXVECTOR3 scale);
    // Tells the problem reporter, once, that the craft's mesh gives a size
    // the flight cannot use.
    void ReportUnusableCraftSize(const ORV_BoundingBox& bounds, D3DXVECTOR3 scale);

    // Level, unhurried flight with no request pending, not landed, not
    // paused: what construction sets after the updrafts and NewGame after
    // putting the craft back. The craft's place and the time are not part
    // of it.
    void ResetFlight();

    // A craft-local point mapped through the craft's transform.
    D3DXVECTOR3 MapSoarerPoint(D3DXVECTOR3 local);

    ORV_Clock m_Clock;
    float m_GameTime;
    ORV_SceneNode m_RootNode;
    ORV_SceneNode m_Soarer;
    ORV_SceneNode m_Target;
    CIsland m_Island;
    ORV_SceneNode m_Updrafts;
    double m_RollAngle;
    double m_PitchAngle;
    float m_Speed;
    bool m_LeanLeft;
    bool m_LeanRight;
    bool m_LeanBackward;
    bool m_LeanForward;
    bool m_Landed;
    bool m_Paused;
    bool m_CraftSizeReported = false;
    BOOL m_MapViewOff;
    BOOL m_GroundViewOff;
    ORVD3D_PrimitiveMeshCustom* m_CustomMesh;  // owned by the "CustomMesh" node
    ORV_XformInfo m_SoarerStartXform;
    ORVD3D_PointLight m_PointLight;
    ORVD3D_DirectionalLight m_DirectionalLight;
    ORVD3D_SpotLight m_SpotLight;
};
