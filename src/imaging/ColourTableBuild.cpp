#include "imaging/ColourTableBuild.h"

#include <algorithm>
#include <cmath>

#include "grib/GribData.h"

namespace {

std::uint8_t NeighbourOf(std::uint8_t index) { return index == 255 ? 254 : static_cast<std::uint8_t>(index + 1); }

}  // namespace

void ApplyColourTable(const TColourTable& table, std::int32_t parameterCode, bool extendedGrid, TDataStuff& field)
{
  for (std::size_t i = 0; i < table.Labels.size(); ++i)
    field.Labels[i] = QString::fromUtf8(table.Labels[i].data(), static_cast<qsizetype>(table.Labels[i].size()));
  field.Bitmap.Palette() = table.Palette;
  field.Bitmap.SetPaletteSize(table.Size);
  field.Continuous = table.Continuous;
  field.MissingIndex = table.MissingIndex;
  field.ExtendedClasses = HasExtendedClasses(parameterCode) && extendedGrid;
  for (std::size_t x = 0; x < table.IndexOfRaw.size(); ++x)
    if (table.IndexOfRaw[x] != kIndexUntouched)
      field.IndexOfRaw[x] = static_cast<std::uint8_t>(table.IndexOfRaw[x]);
}

TColourTableSource ColourTableSourceOf(const TGribData& data, const TDataStuff& field)
{
  TColourTableSource source;
  source.ParameterCode = field.ParameterCode();
  source.ParameterOctet = data.Edition == 2 ? 0 : field.ParameterOctet();
  source.ExtendedGrid = data.ExtendedGrid;
  source.Centre = field.SectionCopy.Centre;
  source.SubCentre = field.SectionCopy.SubCentre;
  source.IndexValues = field.IndexValues;
  return source;
}

void BuildColourTable(TGribData& data, TDataStuff& field)
{
  const TColourTableSource source = ColourTableSourceOf(data, field);
  ApplyColourTable(MakeColourTable(source), source.ParameterCode, source.ExtendedGrid, field);
}

void FillContinuousTables(TDataStuff& field)
{
  const double rawMin = field.RawMin;
  const double range = static_cast<double>(field.RawMax) - rawMin;
  const double scale = range > 0 ? 255.0 / range : 0.0;
  for (std::size_t x = 0; x < field.IndexOfRaw.size(); ++x) {
    const double position = std::nearbyint((static_cast<double>(x) - rawMin) * scale);
    field.IndexOfRaw[x] = static_cast<std::uint8_t>(std::clamp(position, 0.0, 255.0));
  }
  const double binary = std::ldexp(1.0, field.BinaryScale);
  const double decimal = std::pow(10.0, field.DecimalScale);
  for (int i = 0; i < 256; ++i) {
    const double packed = rawMin + i * std::max(range, 0.0) / 255.0;
    field.IndexValues[i] = static_cast<float>((packed * binary + field.ReferenceValue) / decimal);
  }
  KeepValuesOffMissingIndex(field);
}

void KeepValuesOffMissingIndex(TDataStuff& field)
{
  const std::uint8_t missing = field.MissingIndex;
  const std::uint8_t neighbour = NeighbourOf(missing);
  std::replace(field.IndexOfRaw.begin(), field.IndexOfRaw.end(), missing, neighbour);
}
