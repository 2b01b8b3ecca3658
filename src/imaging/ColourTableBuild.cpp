#include "imaging/ColourTableBuild.h"

#include "grib/GribData.h"

void ApplyColourTable(const TColourTable& table, std::int32_t parameterCode, bool extendedGrid, TDataStuff& field)
{
  for (std::size_t i = 0; i < table.Labels.size(); ++i)
    field.Labels[i] = QString::fromUtf8(table.Labels[i].data(), static_cast<qsizetype>(table.Labels[i].size()));
  field.Bitmap.Palette() = table.Palette;
  field.Bitmap.SetPaletteSize(table.Size);
  field.Continuous = table.Continuous;
  field.MissingIndex = table.MissingIndex;
  field.TopDataIndex = table.TopDataIndex;
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
