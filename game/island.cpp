#include "island.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "IslandTerrain.h"
#include "ORVD3D_PrimitiveMesh.h"
#include "ORVD3D_PrimitiveMeshCustom.h"
#include "ORV_BoundingBox.h"
#include "ORV_DrawHelper.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "ORV_StatusEcho.h"

namespace {

struct Building
{
    D3DXVECTOR3 position;  // centre
    D3DXVECTOR3 size;      // full size
};

// clang-format off
constexpr Building kBuildings[] = {
    {{-14.0f, 1.0f, -25.0f}, {4.0f, 2.0f, 2.0f}},
    {{-14.0f, 1.5f, 12.5f}, {2.0f, 1.0f, 3.0f}},
    {{-14.0f, 1.5f, 18.0f}, {2.0f, 1.0f, 4.0f}},
    {{-8.0f, 1.5f, 12.0f}, {4.0f, 1.0f, 2.0f}},
    {{-7.5f, 3.5f, 17.5f}, {3.0f, 1.0f, 3.0f}},
    {{20.0f, 4.5f, 29.0f}, {2.0f, 9.0f, 2.0f}},
    {{17.0f, 1.5f, 17.0f}, {2.0f, 1.0f, 4.0f}},
    {{17.5f, 1.5f, 11.5f}, {3.0f, 1.0f, 3.0f}},
    {{23.0f, 3.0f, 16.0f}, {2.0f, 4.0f, 2.0f}},  // carries the target
    {{22.0f, 2.0f, 18.0f}, {4.0f, 2.0f, 2.0f}},
    {{22.0f, 2.0f, 6.0f}, {4.0f, 2.0f, 2.0f}},
    {{22.0f, 3.5f, 6.0f}, {2.0f, 5.0f, 2.0f}},
    {{16.0f, 3.5f, -26.0f}, {2.0f, 5.0f, 4.0f}},
    {{18.0f, 5.5f, -27.5f}, {2.0f, 1.0f, 1.0f}},
    {{21.0f, 4.0f, -27.0f}, {4.0f, 6.0f, 2.0f}},
    {{1.0f, 1.5f, -9.0f}, {2.0f, 1.0f, 2.0f}},
    {{1.0f, 1.5f, -5.0f}, {2.0f, 1.0f, 2.0f}},
    {{-3.0f, 1.5f, -9.0f}, {2.0f, 1.0f, 2.0f}},
    {{-8.5f, 2.5f, -14.5f}, {3.0f, 3.0f, 3.0f}},
    {{-8.5f, 1.5f, -8.0f}, {3.0f, 1.0f, 4.0f}},
    {{-7.5f, 2.5f, -2.5f}, {5.0f, 3.0f, 3.0f}},
    {{-13.5f, 3.5f, -14.5f}, {3.0f, 5.0f, 3.0f}},
    {{-13.5f, 2.0f, -12.0f}, {3.0f, 2.0f, 2.0f}},
    {{-13.5f, 3.0f, -7.5f}, {3.0f, 4.0f, 3.0f}},
    {{-13.5f, 3.0f, -2.5f}, {3.0f, 4.0f, 3.0f}},
    {{-18.5f, 2.0f, -5.0f}, {3.0f, 2.0f, 8.0f}},
    {{-18.5f, 4.0f, -7.5f}, {3.0f, 2.0f, 3.0f}},  // stands on 26
    {{-18.5f, 4.0f, -2.5f}, {3.0f, 2.0f, 3.0f}},  // stands on 26
    {{-18.5f, 5.5f, -5.0f}, {3.0f, 1.0f, 8.0f}},  // lies across 26 to 28
    {{10.5f, 5.0f, -13.0f}, {3.0f, 2.0f, 2.0f}},
};
// clang-format on

struct Thermal
{
    D3DXVECTOR3 position;
    D3DXVECTOR3 scale;  // x: lift radius; z: top / 3 (the cylinder is 3 long)
};

constexpr Thermal kThermals[] = {
    {{-21.0f, 4.5f, -20.0f}, {2.0f, 2.0f, 3.0f}},
    {{0.0f, 3.5f, -15.0f}, {2.0f, 2.0f, 2.333f}},
    {{20.0f, 4.5f, -15.0f}, {2.0f, 2.0f, 3.0f}},
    {{0.0f, 5.5f, 15.0f}, {2.0f, 2.0f, 3.666f}},
};

constexpr float kTopClearance = 0.1f;
constexpr float kLiftPerColumn = 0.1f;
constexpr int kThermalCount = 4;

}  // namespace

CIsland::CIsland()
    : ORV_SceneNode(L"SceneNode"),
      m_Width(60),
      m_Depth(60),
      m_NumRows(kIslandTerrainSize),
      m_NumColumns(kIslandTerrainSize),
      m_CellDepth(m_Depth / m_NumRows),
      m_CellWidth(m_Width / m_NumColumns),
      m_Ocean(L"Ocean"),
      m_Land(L"Land"),
      m_Buildings(L"SceneNode"),
      m_Thermals(L"SceneNode")
{
    m_Heights = std::make_unique<int[]>(static_cast<std::size_t>(m_NumColumns) * static_cast<std::size_t>(m_NumRows));

    auto* ocean = new ORV_PrimitiveRectangleXZ;
    ocean->SetCorners(-200.0f, 0.0f, 200.0f, 200.0f, 0.0f, -200.0f);
    ocean->SetColor(ORV_Color(0.0f, 1.0f, 0.1f, 1.0f));
    m_Ocean.SetPrimitive(ocean);
    ORV_XformInfo oceanXform = m_Ocean.GetXformInfo();
    oceanXform.SetTranslation(0.0f, 0.5f, 0.0f);
    m_Ocean.SetXformInfo(oceanXform);

    auto* land = new ORVD3D_PrimitiveMeshCustom(kIslandTerrainSize, L"MeshFiles/Land.x");
    BuildTerrain(land);
    land->SetTexturing(true);
    land->SetTextureFileName(L"Textures/islandTexture.jpg");
    m_Land.SetPrimitive(land);
    ORV_XformInfo landXform = m_Land.GetXformInfo();
    landXform.SetScale(30.0f, 1.0f, 30.0f);
    landXform.SetTranslation(5.0f, 0.0f, 0.0f);
    m_Land.SetXformInfo(landXform);

    for (const Building& building : kBuildings)
        AddBuilding(building.position, building.size);
    for (const Thermal& thermal : kThermals)
        AddThermal(thermal.position, thermal.scale);
}

CIsland::~CIsland() = default;

void CIsland::BuildTerrain(ORVD3D_PrimitiveMeshCustom* mesh)
{
    ForEachIslandTerrainRaise([&](const IslandTerrainRaise& raise) {
        RaiseTerrain(raise.row, raise.firstColumn, raise.row, raise.lastColumn, static_cast<float>(raise.height), mesh);
    });
}

void CIsland::RaiseTerrain(int firstRow, int firstColumn, int lastRow, int lastColumn, float height,
                           ORVD3D_PrimitiveMeshCustom* mesh)
{
    const int rowFrom = std::max(firstRow, 0);
    const int rowTo = std::min(lastRow, m_NumRows - 1);
    const int columnFrom = std::max(firstColumn, 0);
    const int columnTo = std::min(lastColumn, m_NumColumns - 1);
    if (mesh) {
        for (int r = rowFrom; r <= rowTo; ++r) {
            for (int c = columnFrom; c <= columnTo; ++c) {
                mesh->SelectControlPoint(r, c);
                D3DXVECTOR3 position;
                mesh->GetSelectedPosition(position);
                mesh->SetSelectedPosition(position.x, height, position.z);
            }
        }
    }
    const int value = static_cast<int>(std::floor(height));
    for (int r = rowFrom; r <= rowTo; ++r)
        for (int c = columnFrom; c <= columnTo; ++c)
            SetCell(c, r, value);
}

void CIsland::AddBuilding(D3DXVECTOR3 position, D3DXVECTOR3 size)
{
    auto* node = new ORV_SceneNode(L"SceneNode");
    ORV_XformInfo xform = node->GetXformInfo();
    xform.SetTranslation(position.x, position.y, position.z);
    xform.SetScale(size.x, size.y, size.z);
    node->SetXformInfo(xform);
    node->SetPrimitive(new ORVD3D_PrimitiveMesh(L"box.x"));
    m_Buildings.AddChild(node);

    const Footprint cells = FootprintOf(position, size);
    for (int r = cells.firstRow; r <= cells.lastRow; ++r)
        for (int c = cells.firstColumn; c <= cells.lastColumn; ++c)
            SetCell(c, r, cells.height);  // the last writer wins
}

CIsland::Footprint CIsland::FootprintOf(D3DXVECTOR3 position, D3DXVECTOR3 size)
{
    // The grid takes "box.x" as a unit cube about its origin, so the scale
    // is the building's full size. Conversions truncate toward zero.
    const float gx = position.x + static_cast<float>(kGridOffsetX);
    const float gz = -position.z + static_cast<float>(kGridOffsetZ);
    Footprint cells;
    cells.firstRow = static_cast<int>(gz - size.z / 2);
    cells.lastRow = static_cast<int>(size.z / 2 + gz - 1);
    cells.firstColumn = static_cast<int>(gx - size.x / 2);
    cells.lastColumn = static_cast<int>(size.x / 2 + gx - 1);
    cells.height = static_cast<int>(size.y / 2 + position.y);
    return cells;
}

void CIsland::AddThermal(D3DXVECTOR3 position, D3DXVECTOR3 scale)
{
    auto* node = new ORV_SceneNode(L"SceneNode");
    auto* column = new ORVD3D_PrimitiveMesh(L"cylinder.x");
    column->SetBlending(true);
    column->SetTexturing(true);
    column->SetLighting(true);
    column->SetTextureFileName(L"Textures/updraft.png");
    ORV_XformInfo xform = node->GetXformInfo();
    xform.SetScale(scale.x, scale.y, scale.z);
    xform.RotateXDegrees(90.0f);  // the cylinder lies along Z: stand it up
    xform.SetTranslation(position.x, position.y, position.z);
    node->SetXformInfo(xform);
    node->SetPrimitive(column);
    m_Thermals.AddChild(node);
}

void CIsland::Draw(int lod, ORV_DrawHelper& helper)
{
    m_Ocean.Draw(lod, helper);
    m_Land.Draw(lod, helper);
    m_Buildings.Draw(lod, helper);
    m_Thermals.Draw(lod, helper);
}

void CIsland::SetCell(int column, int row, int value)
{
    if (column < 0 || column >= m_NumColumns || row < 0 || row >= m_NumRows)
        return;
    m_Heights[static_cast<std::size_t>(column) * static_cast<std::size_t>(m_NumColumns) +
              static_cast<std::size_t>(row)] = value;
}

int CIsland::GetHeightAt(int column, int row) const
{
    // The collision test looks one cell beyond the craft's own and admits
    // the craft's cell up to 60, so it can name cells that do not exist
    // (column or row -1, 60 or 61). Such a cell is open sea, height 0, and
    // nothing outside the grid is ever read.
    if (column < 0 || column >= m_NumColumns || row < 0 || row >= m_NumRows)
        return 0;
    return m_Heights[static_cast<std::size_t>(column) * static_cast<std::size_t>(m_NumColumns) +
                     static_cast<std::size_t>(row)];
}

D3DXVECTOR3 CIsland::PushOutOfBlocks(const ORV_BoundingVolume* box, D3DXVECTOR3 p) const
{
    D3DXVECTOR3 q = p;
    if (!box || box->GetType() != ORV_BoundingBox::kType)
        return q;
    const float gx = p.x + static_cast<float>(kGridOffsetX);
    const float gz = -p.z + static_cast<float>(kGridOffsetZ);
    const float w = static_cast<const ORV_BoundingBox*>(box)->Width();

    // Bound the cell in floating point first: a position far away (or not a
    // number) must not reach the conversion to int.
    const float cellX = std::floor(gx);
    const float cellZ = std::floor(gz);
    if (!(cellX >= 0.0f && cellX <= 60.0f && cellZ >= 0.0f && cellZ <= 60.0f))
        return q;
    const int C = static_cast<int>(cellX);
    const int R = static_cast<int>(cellZ);
    const float half = w / 2;

    // Low X: the block in column C - 1.
    if (p.y <= static_cast<float>(GetHeightAt(C - 1, R))) {
        const float e1 = static_cast<float>(C * m_CellWidth);
        const float s = gx - half;
        const float o1 = e1 - s;
        if (o1 > 0) {
            const float e2 = static_cast<float>((C - 1) * m_CellWidth);
            const float o2 = e2 - s;
            if (o2 > 0) {
                q.x += o2;
                wchar_t text[64];
                std::swprintf(text, sizeof text / sizeof text[0], L"Second overlap left: %f", static_cast<double>(o2));
                EchoToStatus0(text);
            } else {
                q.x += o1;
            }
        }
    }
    // High X: column C + 1.
    if (p.y <= static_cast<float>(GetHeightAt(C + 1, R))) {
        const float e1 = static_cast<float>((C + 1) * m_CellWidth);
        const float s = gx + half;
        const float o1 = e1 - s;
        if (o1 < 0) {
            const float e2 = static_cast<float>((C + 2) * m_CellWidth);
            const float o2 = e2 - s;
            q.x += o2 < 0 ? o2 : o1;
        }
    }
    // Low grid Z: row R - 1, toward world +Z. Grid Z runs against world Z;
    // the signs below move the craft away from the block all the same.
    if (p.y <= static_cast<float>(GetHeightAt(C, R - 1))) {
        const float e1 = static_cast<float>(R * m_CellDepth);
        const float s = gz - half;
        const float o1 = s - e1;
        if (o1 < 0) {
            const float e2 = static_cast<float>((R - 1) * m_CellDepth);
            const float o2 = s - e2;
            q.z += o2 < 0 ? o2 : o1;
        }
    }
    // High grid Z: row R + 1, toward world -Z.
    if (p.y <= static_cast<float>(GetHeightAt(C, R + 1))) {
        const float e1 = static_cast<float>((R + 1) * m_CellDepth);
        const float s = gz + half;
        const float o1 = s - e1;
        if (o1 > 0) {
            const float e2 = static_cast<float>((R + 2) * m_CellDepth);
            const float o2 = s - e2;
            q.z += o2 > 0 ? o2 : o1;
        }
    }
    // Top: hold the craft just above the block it is over. The test is made
    // in double precision, the stored height in single precision.
    const int h = GetHeightAt(C, R);
    if (static_cast<double>(p.y) < h + 0.1)
        q.y = static_cast<float>(h) + kTopClearance;
    return q;
}

D3DXVECTOR3 CIsland::GetThermalLift(D3DXVECTOR3 p) const
{
    D3DXVECTOR3 q = p;
    for (int i = 0; i < kThermalCount; ++i) {
        const ORV_SceneNode* column = m_Thermals.GetChildNode(i);
        if (!column)
            continue;
        const ORV_XformInfo xform = column->GetXformInfo();
        const D3DXVECTOR3 c = xform.GetTranslation();
        const D3DXVECTOR3 s = xform.GetScale();
        const float dx = c.x - p.x;
        const float dz = c.z - p.z;
        const float d = std::sqrt(dx * dx + dz * dz);
        // A column reaches from below the ground up to twice its centre
        // height; its radius is its X scale.
        if (d <= s.x && p.y <= 2 * c.y)
            q.y += kLiftPerColumn;
    }
    return q;
}
