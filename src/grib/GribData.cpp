#include "grib/GribData.h"

#include <algorithm>

TGribData::TGribData(bool keepRaw) : Mapping(std::make_unique<TMapping>()) {
  Mapping->SetKind(pkMercatorFull);
  Fields.push_back(std::make_unique<TDataStuff>(this, keepRaw));
  Current = Fields.back().get();
}

TGribData::~TGribData() = default;

void TGribData::GetIndexValues(float (&values)[256]) const {
  std::copy(Current->IndexValues.begin(), Current->IndexValues.end(), values);
}

QString TGribData::LevelText() const {
  const int code = ParameterCode();
  if (code == 91 || code == 220 || code == 221)
    return {};
  return Current->LevelText();
}

float TGribData::FirstLatitude() const {
  return GridType == 0 || GridType == 5 ? Grid.La1 / 1000.0f : kNoGeometry;
}

float TGribData::FirstLongitude() const {
  return GridType == 0 || GridType == 5 ? Grid.Lo1 / 1000.0f : kNoGeometry;
}

float TGribData::LastLatitude() const { return GridType == 0 ? Grid.La2 / 1000.0f : kNoGeometry; }

float TGribData::LastLongitude() const { return GridType == 0 ? Grid.Lo2 / 1000.0f : kNoGeometry; }

float TGribData::OrientationLongitude() const { return GridType == 5 ? Grid.LoV / 1000.0f : kNoGeometry; }
