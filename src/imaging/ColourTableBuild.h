#pragma once
// Puts a colour table on a decoded field.
#include "imaging/ColourTable.h"

class TDataStuff;
class TGribData;

// Writes the table's palette into the field's picture, its class names into
// Labels, and Continuous, MissingIndex, ExtendedClasses and the entries of
// IndexOfRaw the table sets. Every name and palette entry from an earlier
// build is cleared first.
void ApplyColourTable(const TColourTable& table, std::int32_t parameterCode, bool extendedGrid, TDataStuff& field);

// The table for this field as the reader describes it.
TColourTableSource ColourTableSourceOf(const TGribData& data, const TDataStuff& field);

// Builds the palette, class names, MissingIndex and Continuous flag of a
// field before its data are unpacked: the colour-table builder a reader is
// made with, `TGribData data(BuildColourTable);`.
void BuildColourTable(TGribData& data, TDataStuff& field);
