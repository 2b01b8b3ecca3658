#pragma once
// Every grid placed where its file says: for every 16th pixel and the four
// corners, the position the mapping reads out and the pixel it draws that
// position on agree with ecCodes' geo-iterator, or with PROJ from the
// grid's stated parameters where ecCodes is known to be wrong, within a
// tenth of a grid cell.
#include "mapping/Mapping.h"
#include "support/EcCodesReference.h"

void CheckPlacement(const TMapping& mapping, const TReferenceField& ref);
