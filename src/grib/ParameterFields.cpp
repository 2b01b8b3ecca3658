// The field's own parameter code and texts, from its product identification
// and the reader it came from.
#include <QFileInfo>

#include "grib/DataStuff.h"
#include "grib/GribData.h"
#include "grib/ParameterCode.h"
#include "grib/ParameterNaming.h"

namespace {

bool LaterCloudTable(const TGribData* owner) { return owner && UsesLaterCloudTable(owner->ReferenceTime); }

}  // namespace

int TDataStuff::ParameterCode() const
{
  TParameterIdentity id;
  id.Edition = Owner && Owner->Edition == 2 ? 2 : 1;
  id.Centre = Centre();
  id.Process = Process();
  id.ParameterOctet = ParameterOctet();
  id.Discipline = Owner ? Owner->Discipline : 0;
  id.Category = ParameterCategory;
  id.Number = ParameterNumber;
  id.LaterCloudTable = LaterCloudTable(Owner);
  return ComposeParameterCode(id);
}

QString TDataStuff::LevelText() const { return LevelTextFor(ParameterCode(), LevelType(), LevelValue()); }

void TDataStuff::BuildEdition1Name()
{
  Name = Edition1Name(ParameterCode(), LevelText(), Centre(), Process(), QFileInfo(FileName).fileName());
}

void TDataStuff::BuildName(int discipline, float satelliteLongitude)
{
  const QString parameter = Edition2ParameterText(discipline, ParameterCategory, ParameterNumber,
                                                  satelliteLongitude, LaterCloudTable(Owner));
  Name = ComposeName(parameter, LevelText(), ForecastText);
}
