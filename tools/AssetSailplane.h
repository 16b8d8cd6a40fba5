// The player's craft: a sailplane with its nose toward -Z, wings along X
// (about 3 units from tip to tip) with a little dihedral, and a T-tail.
#pragma once

#include "xfile.h"

namespace assets {

// Material indices of the returned mesh.
enum SailplaneMaterial : unsigned {
    kAirframe = 0,
    kTrim = 1,
    kCanopy = 2,
};

XFileMesh MakeSailplaneMesh();

}  // namespace assets
