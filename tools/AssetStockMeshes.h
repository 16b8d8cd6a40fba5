// The simple meshes the game and the library draw: the building block, the
// thermal column and arrow shaft, the arrow head and the cloud puff. Each
// function returns a fresh mesh the caller owns.
#pragma once

#include "xfile.h"

namespace assets {

XFileMesh MakeBoxMesh();       // unit cube about the origin, -0.5..0.5
XFileMesh MakeCylinderMesh();  // radius 1, length 3 along Z, centred, with end caps
XFileMesh MakeConeMesh();      // base radius 1 at z = +1, apex at z = -1
XFileMesh MakeSphereMesh();    // radius 1 about the origin

}  // namespace assets
