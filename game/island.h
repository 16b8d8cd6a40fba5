// The static world of the game: the ocean plane, the island's terrain mesh,
// thirty box buildings and four translucent thermal columns, plus a coarse
// integer height grid (one value per 1 x 1 cell) that the collision test
// consults instead of the meshes.
//
// Owned by the game model. The island owns the grid and its four member
// nodes; each node owns its primitive and its children. Nothing changes
// after construction.
#pragma once

#include <memory>

#include "ORV_SceneNode.h"
#include "d3dx9math.h"

class ORV_BoundingVolume;
class ORV_DrawHelper;
class ORVD3D_PrimitiveMeshCustom;

class CIsland : public ORV_SceneNode
{
public:
    CIsland();
    ~CIsland() override;

    // Draws the ocean, the land, the buildings and then the translucent
    // columns, so they blend over what is already drawn. The base node
    // itself is not drawn.
    void Draw(int lod, ORV_DrawHelper& helper);

    // Raises the land-mesh vertices and grid cells of a rectangle (both ends
    // inclusive) to height; rows and columns outside the grid are skipped.
    void RaiseTerrain(int firstRow, int firstColumn, int lastRow, int lastColumn, float height,
                      ORVD3D_PrimitiveMeshCustom* mesh);
    // A box building centred at position with the given full size.
    void AddBuilding(D3DXVECTOR3 position, D3DXVECTOR3 size);
    void AddThermal(D3DXVECTOR3 position, D3DXVECTOR3 scale);

    // The craft's position pushed out of the blocks of the grid around it
    // and held above the block it is over. The craft's footprint is a square
    // of the volume's width; a volume that is not a box (or none) leaves the
    // position as it is.
    D3DXVECTOR3 PushOutOfBlocks(const ORV_BoundingVolume* box, D3DXVECTOR3 position) const;
    // The position raised by 0.1 for every thermal column it is inside.
    D3DXVECTOR3 GetThermalLift(D3DXVECTOR3 position) const;

    // Height of grid cell (column, row); 0 (open sea) outside the grid.
    int GetHeightAt(int column, int row) const;

    // The cells a building covers (both ends inclusive) and the height of
    // its top, as AddBuilding enters them.
    struct Footprint
    {
        int firstColumn;
        int lastColumn;
        int firstRow;
        int lastRow;
        int height;
    };
    static Footprint FootprintOf(D3DXVECTOR3 position, D3DXVECTOR3 size);

    const ORV_SceneNode& GetOcean() const { return m_Ocean; }
    const ORV_SceneNode& GetLand() const { return m_Land; }
    const ORV_SceneNode& GetBuildings() const { return m_Buildings; }
    const ORV_SceneNode& GetThermals() const { return m_Thermals; }

    // Grid coordinates of a world position: gx = x + kGridOffsetX,
    // gz = -z + kGridOffsetZ.
    static constexpr int kGridOffsetX = 25;
    static constexpr int kGridOffsetZ = 30;

private:
    void BuildTerrain(ORVD3D_PrimitiveMeshCustom* mesh);
    void SetCell(int column, int row, int value);

    std::unique_ptr<int[]> m_Heights;
    int m_Width;
    int m_Depth;
    int m_NumRows;
    int m_NumColumns;
    int m_CellDepth;
    int m_CellWidth;
    ORV_SceneNode m_Ocean;
    ORV_SceneNode m_Land;
    ORV_SceneNode m_Buildings;
    ORV_SceneNode m_Thermals;
};
