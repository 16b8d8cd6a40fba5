// A tiny software renderer for looking at generated meshes: z-buffer, flat
// Lambert shading in the material colours, orthographic or perspective view,
// framed to the mesh's bounds. Used by the preview mode and for the icons.
#pragma once

#include "AssetImage.h"
#include "d3dx9math.h"
#include "xfile.h"

namespace assets {

struct PreviewView
{
    D3DXVECTOR3 direction;  // the way the camera looks
    D3DXVECTOR3 up;         // roughly up on the picture
    bool perspective = false;
    bool markBackFaces = true;  // back faces in magenta: a wrongly wound face shows at once
    float zoom = 1.0f;          // > 1 frames tighter
};

// Renders the mesh into a size x size picture; uncovered pixels are fully
// transparent. Supersampled twice along each axis.
AssetImage RenderPreview(const XFileMesh& mesh, const PreviewView& view, int size);

// Four views side by side in one picture (behind, above, side, three-quarter),
// each size x size, over a neutral background.
AssetImage RenderPreviewSheet(const XFileMesh& mesh, int size);

}  // namespace assets
