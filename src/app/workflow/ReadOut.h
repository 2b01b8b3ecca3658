#pragma once
// The text under the cursor for one byte code of a field's picture.
#include <QString>

class TDataStuff;

// "57%", "Open ice", "4.3°C", "No data" over a point the field has no value
// for, or "n/a".
QString ReadOutText(const TDataStuff& field, int code);
