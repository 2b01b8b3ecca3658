// Stand-in colour table until the palette builder in src/imaging lands:
// grey scale, continuous for the temperature products. Delete this file when
// imaging defines BuildColourTable.
#include "grib/GribData.h"

void BuildColourTable(TGribData& data, TDataStuff& field) {
  (void)data;
  const int code = field.ParameterCode();
  field.Bitmap.SetGreyPalette();
  field.Labels.fill(QString());
  const int p = field.ParameterOctet();
  field.Continuous = !(p == 91 || p == 220 || p == 221 || p == 174 || p == 175) && code != 91 && code != 220 &&
                     code != 221 && code != 0;
  if (code == 310010001) {
    field.Continuous = false;
    for (int i = 0; i < 4; ++i)
      field.IndexOfRaw[i] = static_cast<std::uint8_t>(i);
  }
  field.MissingIndex = 255;
}
