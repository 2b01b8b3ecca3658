#pragma once
// The words shown for the picture pixel under the cursor.
#include <QString>

class TDataStuff;

// Text for colour index `index` of the field: "No data" on the field's
// missing-value entry, a percentage for ice concentration ("Open water" at
// 0, "Land" at 101), the class for
// ice edge and type (only classes of the field's own table), degrees
// Celsius for sea-surface temperature, otherwise "n/a".
QString ClassNameAt(const TDataStuff& field, int index);
