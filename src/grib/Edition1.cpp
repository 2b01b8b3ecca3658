// GRIB edition 1: indicator, product definition, grid description, bit map
// and binary data sections.
#include <QDate>
#include <QTime>

#include <array>
#include <cmath>

#include "grib/Decoder.h"
#include "grib/TimeText.h"

namespace {

constexpr std::size_t kIndicatorLength = 8;
constexpr std::size_t kProductMinLength = 28;
constexpr std::size_t kGridMinLength = 32;
constexpr std::size_t kBitMapHeaderLength = 6;
constexpr std::size_t kDataHeaderLength = 11;

constexpr std::array<int, 10> kTableVersions = {0, 1, 2, 3, 128, 129, 151, 202, 203, 228};

}  // namespace

bool TMessageDecoder::DecodeEdition1() {
  TDataStuff& field = *data_.Current;
  if (!IndicatorSection1())
    return false;
  std::size_t pos = kIndicatorLength;
  const std::size_t pdsLength = message_.U24(pos + 1);
  if (pdsLength < kProductMinLength || !message_.Has(pos + 1, pdsLength))
    return Fail("Product definition section length %zu does not fit the message", pdsLength);
  if (!ProductSection1(message_.Sub(pos + 1, pdsLength)))
    return false;
  pos += pdsLength;

  if (!field.HasGridSection())
    return Fail("No grid description section: the field cannot be placed");
  const std::size_t gdsLength = message_.U24(pos + 1);
  if (gdsLength < kGridMinLength || !message_.Has(pos + 1, gdsLength))
    return Fail("Grid description section length %zu does not fit the message", gdsLength);
  if (!GridSection1(message_.Sub(pos + 1, gdsLength)))
    return false;
  pos += gdsLength;

  if (field.HasBitMapSection()) {
    const std::size_t bmsLength = message_.U24(pos + 1);
    if (bmsLength < kBitMapHeaderLength || !message_.Has(pos + 1, bmsLength))
      return Fail("Bit map section length %zu does not fit the message", bmsLength);
    if (!BitMapSection1(message_.Sub(pos + 1, bmsLength)))
      return false;
    pos += bmsLength;
  }

  const std::size_t bdsLength = message_.U24(pos + 1);
  if (bdsLength < kDataHeaderLength || !message_.Has(pos + 1, bdsLength))
    return Fail("Binary data section length %zu does not fit the message", bdsLength);
  return data_.MakeColourTable(field) && DataSection1(message_.Sub(pos + 1, bdsLength));
}

bool TMessageDecoder::IndicatorSection1() {
  const TOctets indicator = TOctets(stream_);
  const std::size_t length = indicator.U24(5);
  Log("GRIB format Edition 1");
  Log("Indicator Section..");
  Logf("  Data bytes: %zu", length);
  if (length < kIndicatorLength + kProductMinLength || length > stream_.size())
    return Fail("Message length %zu is beyond the %zu bytes of data", length, stream_.size());
  message_ = TOctets(stream_.first(length));
  if (message_.U32(length - 3) != 0x37373737u)
    return Fail("The message does not end with \"7777\"");
  return true;
}

bool TMessageDecoder::ProductSection1(TOctets pds) {
  TDataStuff& field = *data_.Current;
  const int tableVersion = static_cast<int>(pds.U8(4));
  Log("Product Definition Section..");
  if (std::find(kTableVersions.begin(), kTableVersions.end(), tableVersion) == kTableVersions.end())
    return Fail("  Unsupported parameter table version: %d", tableVersion);
  const auto id = pds.Sub(5, field.ProductId.size()).Bytes();
  std::copy(id.begin(), id.end(), field.ProductId.begin());

  const int year = static_cast<int>(pds.U8(13)) + (static_cast<int>(pds.U8(25)) - 1) * 100;
  const TTimeFields time{year, static_cast<int>(pds.U8(14)), static_cast<int>(pds.U8(15)),
                         static_cast<int>(pds.U8(16)), static_cast<int>(pds.U8(17)), 0};
  data_.ReferenceTime = ToDateTime(time);
  Logf("  Originator ID: %d,  model ID: %d", field.Centre(), field.Process());
  Log(QStringLiteral("  Reference time: ") + FormatReferenceTime(time));

  switch (field.LevelType()) {
    case 1: Log("  Earth and sea surface"); break;
    case 100: Logf("  Isobaric level, %d hPa", field.LevelValue()); break;
    case 102: Log("  Mean sea level"); break;
    case 105: Logf("  Above ground, %d m", field.LevelValue()); break;
    default: Logf("  Unrecognised level type: %d", field.LevelType()); break;
  }
  field.DecimalScale = pds.S(27, 2);
  field.NoBitmap = !field.HasBitMapSection();
  Log(ParameterDescription(field.ParameterCode()));
  field.BuildEdition1Name();
  ForecastTime1(field);
  return true;
}

void TMessageDecoder::ForecastTime1(TDataStuff& field) {
  const int unit = field.TimeUnit();
  const TForecastUnit* unitText = FindForecastUnit(unit, 1);
  if (unitText)
    Log(QString::fromUtf8(unitText->LogLine));
  Logf("    P1:%d  P2:%d", field.P1(), field.P2());
  Logf("    Time range indicator:%d", field.TimeRangeIndicator());

  int period = 0;
  const int tri = field.TimeRangeIndicator();
  if ((tri == 0 || tri == 4) && field.P1() != 0)
    period = field.P1();
  if (tri == 10) {
    if (unit != 0 && unit != 1)
      return;
    period = field.P1() * 256 + field.P2();
  }
  if (period == 0 || !unitText)
    return;
  period *= unitText->Multiplier;
  field.ForecastPeriod = period;
  switch (unit) {
    case 0: field.ForecastDays = period / 1440.0; break;
    case 1: case 10: case 11: case 12: field.ForecastDays = period / 24.0; break;
    case 3: field.ForecastDays = period * 28.0; break;
    case 4: case 5: case 6: case 7: field.ForecastDays = period * 365.0; break;
    case 254: field.ForecastDays = period / 86400.0; break;
    default: field.ForecastDays = period; break;
  }
  field.ForecastText = QString::asprintf(" +%d ", period) + QString::fromUtf8(unitText->Suffix);
  field.Name += field.ForecastText;
}

bool TMessageDecoder::GridSection1(TOctets gds) {
  TDataStuff& field = *data_.Current;
  Log("Grid Description Section..");
  data_.Width = data_.Height = 0;
  if (gds.U8(4) == 0 && gds.U8(5) < 255)
    return Fail("Data with co-ordinate parameter list not supported");
  data_.GridType = static_cast<std::uint8_t>(gds.U8(6));
  bool placed = false;
  switch (data_.GridType) {
    case 0: placed = LatLonGrid1(gds); break;
    case 3: placed = LambertGrid1(gds); break;
    case 5: placed = PolarGrid1(gds); break;
    case 10: placed = RotatedGrid1(gds); break;
    case 90: placed = SpaceViewGrid1(gds); break;
    default: Logf("  Projection: unknown (%d)", data_.GridType); return false;
  }
  if (!placed || !CheckGridGeometry(data_.GridType) || !SizeField(field))
    return false;
  Log(QString(data_.VerticalFlip ? "  Vertical flip" : "  No vertical flip") +
      (data_.HorizontalFlip ? ", Horizontal flip" : ", No horizontal flip"));
  return true;
}

bool TMessageDecoder::BitMapSection1(TOctets bms) {
  TDataStuff& field = *data_.Current;
  Log("Bit Map Section..");
  const int predefined = static_cast<int>(bms.U16(5));
  if (predefined != 0)
    return Fail("Predefined bit map %d is not available", predefined);
  // Octet 4 counts the padding bits at the end of the section. Sections
  // have an even length, so up to 15 are sound (ecCodes writes 15 for a
  // grid of 209 points).
  constexpr int kMostPaddingBits = 15;
  const int unused = static_cast<int>(bms.U8(4));
  if (unused > kMostPaddingBits)
    return Fail("Bit map section counts %d unused bits, more than its padding can hold", unused);
  const auto bits = bms.Bytes().subspan(kBitMapHeaderLength);
  const std::int64_t points = std::int64_t{data_.Width} * data_.Height;
  if (static_cast<std::int64_t>(bits.size()) * 8 - unused < points)
    return Fail("Bit map holds %zu bits for %lld grid points", bits.size() * 8 - unused,
                static_cast<long long>(points));
  ExpandBitmap(bits, field);
  return true;
}

bool TMessageDecoder::DataSection1(TOctets bds) {
  TDataStuff& field = *data_.Current;
  const int flags = static_cast<int>(bds.U8(4));
  Log("Binary Data Section (prescan)..");
  field.BinaryScale = bds.S(5, 2);
  field.ReferenceValue = IbmFloat(bds.U32(7));
  field.BitsPerValue = static_cast<std::uint8_t>(bds.U8(11));
  Logf("  %d-bit data", field.BitsPerValue);
  if (flags & 0xC0)
    return Fail("Unsupported data packing (flags 0x%02x): only grid-point simple packing is read", flags);
  if (flags & 0x10)
    return Fail("Unsupported data packing (flags 0x%02x): additional flags at octet 14", flags);
  if (!CheckScaleFactors(field) || !CheckBitmap(field) || !CheckUnusedBits(bds, flags & 0x0F, field.BitsPerValue) ||
      !PrepareSimple(field, bds.Bytes().subspan(kDataHeaderLength), field.BitsPerValue))
    return false;
  ScanRange(field);
  LogRange(field);
  Log("Binary Data Section..");
  Edition1IndexTables(field);
  Paint(field);
  return true;
}

// The low four bits of the data flags count the padding bits at the end of
// the section; the values must fit in the bits before them.
bool TMessageDecoder::CheckUnusedBits(TOctets bds, int unused, int bitsPerValue) {
  const auto dataBits = static_cast<std::uint64_t>(bds.Size() - kDataHeaderLength) * 8;
  const auto needed = static_cast<std::uint64_t>(presentPoints_) * static_cast<std::uint64_t>(bitsPerValue);
  if (dataBits >= static_cast<std::uint64_t>(unused) && needed <= dataBits - static_cast<std::uint64_t>(unused))
    return true;
  return Fail("The data hold %llu bits with %d of them unused; %lld values of %d bits need %llu",
              static_cast<unsigned long long>(dataBits), unused, static_cast<long long>(presentPoints_), bitsPerValue,
              static_cast<unsigned long long>(needed));
}

// Colour index of every packed value by the parameter's rules.
void TMessageDecoder::Edition1IndexTables(TDataStuff& field) {
  const int p = field.ParameterOctet();
  const bool fixedTemperature = p == 11 && field.Name != QLatin1String("SST");
  if (fixedTemperature) {
    field.MinValue = static_cast<float>(273.15 + data_.ColourMinCelsius);
    field.MaxValue = static_cast<float>(273.15 + data_.ColourMaxCelsius);
  }
  const double binary = std::ldexp(1.0, field.BinaryScale);
  const double decimal = std::pow(10.0, field.DecimalScale);
  const double reference = field.ReferenceValue;
  const double rawMin = field.RawMin;
  const double rawSpan = static_cast<double>(field.RawMax) - field.RawMin;
  const double minValue = field.MinValue, maxValue = field.MaxValue;
  const bool continuous = field.Continuous && !fixedTemperature;
  const int decimalScale = field.DecimalScale;
  const TDataStuff::TScaleSpan entries = field.ScaleSpan();

  wideIndex_ = [=](std::int64_t x) -> std::uint8_t {
    const double xd = static_cast<double>(x);
    const double v = static_cast<float>((xd * binary + reference) / decimal);
    if (continuous)
      return static_cast<std::uint8_t>(rawSpan > 0 ? ScaleIndex(entries, (xd - rawMin) / rawSpan) : entries.First);
    if (fixedTemperature)
      return static_cast<std::uint8_t>(
          maxValue > minValue ? ScaleIndex(entries, (v - minValue) / (maxValue - minValue)) : entries.First);
    double index;
    switch (p) {
      case 52: index = Nint(v * 255 / 100); break;
      case 7: case 129: index = Nint(v * 255 / 7000); break;
      case 2: case 151: index = Nint(v * 255 / 105000); break;
      case 4: index = 255 - Nint(4 * v + 60); break;
      case 33: case 34: index = Nint(v * 255 / 50); break;
      case 91: index = Nint(v); if (index == -99) index = 101; break;
      case 175: index = xd; break;
      case 174: index = decimalScale == 1 ? Nint(xd * 250 / 1250) : Nint(v); break;
      default: index = Nint(v); break;
    }
    return static_cast<std::uint8_t>(ClampIndex(index));
  };
  FillIndexTable(field);

  if (field.Continuous)
    LinearIndexValues(field);
  if (fixedTemperature)
    for (int i = 0; i < 256; ++i)
      field.IndexValues[i] = static_cast<float>(minValue + static_cast<double>(i - entries.First) /
                                                               (entries.Last - entries.First) * (maxValue - minValue));
  if (p == 175)
    for (int i = 0; i < 256; ++i)
      field.IndexValues[i] = static_cast<float>(i);
  if (p == 174)
    for (int i = 0; i < 256; ++i)
      field.IndexValues[i] = static_cast<float>(i * 125 / 250.0);
}
