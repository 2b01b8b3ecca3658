#pragma once
// An edition 1 field of the sea-ice producer (centre 88, table 1) as the
// decoder leaves it after building its colour table.
#include <QDateTime>

#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

inline void LoadEdition1(TGribData& data, int parameter, bool extendedGrid = false, QDate date = {})
{
  data.Edition = 1;
  data.ExtendedGrid = extendedGrid;
  if (date.isValid())
    data.ReferenceTime = QDateTime(date, QTime(12, 0), Qt::UTC);
  data.Current->ProductId[0] = 88;
  data.Current->ProductId[1] = 1;
  data.Current->ProductId[4] = static_cast<std::uint8_t>(parameter);
  BuildColourTable(data, *data.Current);
}
