#pragma once
// Puts a colour table on a decoded field, and the linear value tables of
// the continuous products.
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

// For a continuous field, whatever its packing: packed values RawMin..RawMax
// spread evenly over colour indices 0..255 (ties to even), with
// IndexValues[i] the physical value of index i. No value is given the
// field's MissingIndex: values that would land on it take the next entry.
void FillContinuousTables(TDataStuff& field);

// Moves every packed value mapped to MissingIndex onto the neighbouring
// entry, for continuous tables built elsewhere.
void KeepValuesOffMissingIndex(TDataStuff& field);
