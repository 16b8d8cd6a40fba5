// Textures from image files (PNG and JPEG), with D3DX's name and result.
#pragma once

#include "d3d9.h"

// Creates an A8R8G8B8 texture of the image's size on device. Images without
// alpha get alpha 255; rows are kept top first, so texture coordinate v = 0
// is the image's top row. A path that is not a regular file, or a file
// larger than 64 MB, is refused before reading. On failure returns an error code, sets *texture to
// null and D3DXGetLastErrorEXT (d3dx9mesh.h) tells why.
HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, const wchar_t* srcFile, IDirect3DTexture9** texture);
