#pragma once
// The parameter code: one integer that says which quantity a decoded field
// holds. Edition 1 codes are the parameter octet (with a few local
// exceptions), edition 2 codes are composed from discipline, category and
// number so that the two editions never collide. 0 means "not recognised".
#include <QDateTime>

#include <cstdint>

inline constexpr std::int32_t kParameterUnrecognised = 0;
inline constexpr std::int32_t kParameterTemperature = 11;
inline constexpr std::int32_t kParameterIceConcentration = 91;
inline constexpr std::int32_t kParameterIceEdge = 220;
inline constexpr std::int32_t kParameterIceType = 221;
inline constexpr std::int32_t kParameterSst = 310010000;
inline constexpr std::int32_t kParameterSstConfidence = 310010001;

// What identifies a field's parameter, gathered from the product section(s).
struct TParameterIdentity {
  int Edition = 1;
  // Edition 1: product section octets 5, 6 and 9.
  int Centre = 0;
  int Process = 0;
  int ParameterOctet = 0;
  // Edition 2: section 0 octet 7 and product template octets 10 and 11.
  int Discipline = 0;
  int Category = 0;
  int Number = 0;
  // Edition 2 cloud products (discipline 3, category 1) use a later local
  // table from July 2006 on, which moved some numbers by two.
  bool LaterCloudTable = false;
};

std::int32_t ComposeParameterCode(const TParameterIdentity& identity);

// True for reference times after 3 July 2006 00:00 UTC.
bool UsesLaterCloudTable(const QDateTime& referenceTime);

// The edition 2 parameter number as the earlier cloud table would number it.
int CloudTableNumber(int discipline, int category, int number, bool laterCloudTable);
