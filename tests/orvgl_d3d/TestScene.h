// A small scene for the drawing tests, the same on the headless and the
// OpenGL device: a flat green ground, a lit red box turned about Y with an
// axis standing on it, and a cloud, under one directional light.
//
// Owns its nodes (through the root) and its light. Needs box.x, cylinder.x,
// cone.x and sphere.x in the working folder.
#pragma once

#include <memory>

#include "ORVD3D_Cloud.h"
#include "ORVD3D_DirectionalLight.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_PrimitiveMesh.h"
#include "ORVD3D_PrimitiveMeshAxis.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "ORV_SceneNode.h"

struct TestScene
{
    TestScene() : root(std::make_unique<ORV_SceneNode>(L"Scene")), light(1)
    {
        auto* groundNode = new ORV_SceneNode(L"Ground");
        auto* ground = new ORV_PrimitiveRectangleXZ();
        ground->SetCorners(-3, 0, -3, 3, 0, 3);
        ground->SetColor(ORV_Color(60, 140, 70, 255));
        ground->SetShadeMode(0);
        ground->SetLighting(false);
        groundNode->SetPrimitive(ground);
        root->AddChild(groundNode);

        auto* boxNode = new ORV_SceneNode(L"Box");
        auto* box = new ORVD3D_PrimitiveMesh(L"box.x");
        ORV_Material red;
        red.SetDiffuse(ORV_Color(220, 40, 30, 255));
        red.SetAmbient(ORV_Color(90, 20, 20, 255));
        red.SetSpecular(ORV_Color(0, 0, 0, 255));
        red.SetEmissive(ORV_Color(0, 0, 0, 255));
        box->SetMaterial(red);
        boxNode->SetPrimitive(box);
        ORV_XformInfo boxXform = boxNode->GetXformInfo();
        boxXform.SetTranslation(0, 0.5f, 0);
        boxXform.RotateYDegrees(30);
        boxNode->SetXformInfo(boxXform);
        root->AddChild(boxNode);

        auto* axisNode = new ORV_SceneNode(L"Axis");
        axisNode->SetPrimitive(new ORVD3D_PrimitiveMeshAxis(1.2f));
        ORV_XformInfo axisXform = axisNode->GetXformInfo();
        axisXform.SetTranslation(0, 0.55f, 0);
        axisNode->SetXformInfo(axisXform);
        boxNode->AddChild(axisNode);

        auto* cloudNode = new ORV_SceneNode(L"Cloud");
        auto* cloud = new ORVD3D_Cloud();
        cloud->SetColor(ORV_Color(240, 240, 255, 255));
        cloudNode->SetPrimitive(cloud);
        ORV_XformInfo cloudXform = cloudNode->GetXformInfo();
        cloudXform.SetScale(6, 6, 6);
        cloudXform.SetTranslation(-1.5f, 2.2f, 1.0f);
        cloudNode->SetXformInfo(cloudXform);
        root->AddChild(cloudNode);

        light.TurnOn();
        light.SetDirection(-1.0f, -2.0f, 1.5f);
        light.SetDiffuse(1.0f, 1.0f, 1.0f, 1.0f);
        light.SetAmbient(0.4f, 0.4f, 0.4f, 1.0f);
        light.SetSpecular(0.0f, 0.0f, 0.0f, 1.0f);
    }

    // One drawing pass, as the game draws: the light first, then the tree.
    void Draw()
    {
        ORVD3D_DrawHelper helper;
        light.Apply();
        root->Draw(helper.GetLod(), helper);
    }

    std::unique_ptr<ORV_SceneNode> root;
    ORVD3D_DirectionalLight light;
};
