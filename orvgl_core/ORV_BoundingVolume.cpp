#include "ORV_BoundingVolume.h"

void ORV_BoundingVolume::Draw(ORV_DrawHelper*) const {}
