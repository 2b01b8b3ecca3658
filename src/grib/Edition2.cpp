// GRIB edition 2: sections 0 to 7, one or more products sharing one grid.
#include <cmath>

#include "grib/Decoder.h"
#include "grib/GridEarth.h"
#include "grib/Limits.h"
#include "grib/TimeText.h"
#include "mapping/GeostationaryMapping.h"
#include "mapping/ProjGrids.h"

namespace {

constexpr std::size_t kSection0Length = 16;
constexpr std::size_t kSectionHeaderLength = 5;
constexpr std::size_t kEndLength = 4;
constexpr std::size_t kSection1Length = 21;
constexpr std::size_t kProductTemplate0Length = 34;
constexpr std::size_t kSimplePackingLength = 21;
constexpr std::size_t kComplexPackingLength = 47;
constexpr std::size_t kSpatialDifferencingLength = 49;
constexpr std::size_t kSection5CopyLength = 47;

const char* const kDegree = "°";

// Section 4 forecast texts by time unit; the multiplier comes with the unit.
const char* ForecastSuffix(int unit) {
  switch (unit) {
    case 0: return "min";
    case 1: case 10: case 11: case 12: return "h";
    case 2: return "d";
    case 3: return "months";
    case 4: case 5: case 6: case 7: return "y";
    default: return nullptr;
  }
}

}  // namespace

bool TMessageDecoder::DecodeEdition2(bool exactLength) {
  Log("GRIB format Edition 2");
  const TOctets head(stream_);
  if (!head.Has(1, kSection0Length))
    return Fail("Section 0 needs %zu bytes, the data hold %zu", kSection0Length, stream_.size());
  data_.Discipline = static_cast<std::int32_t>(head.U8(7));
  const std::uint64_t total = head.U(9, 8);
  Log("Section 0 Indicator..");
  Logf("  Total length: %llu", static_cast<unsigned long long>(total));
  if (head.U8(8) != 2)
    return Fail("Edition %u is not 2", head.U8(8));
  if (total < kSection0Length + kEndLength || total > stream_.size() || (exactLength && total != stream_.size()))
    return Fail("Message length %llu does not match the %zu bytes of data", static_cast<unsigned long long>(total),
                stream_.size());
  message_ = TOctets(stream_.first(static_cast<std::size_t>(total)));
  if (message_.U32(message_.Size() - 3) != 0x37373737u)
    return Fail("The message does not end with \"7777\"");
  pos_ = kSection0Length;

  TDataStuff& first = *data_.Current;
  if (!Section1())
    return false;
  Section2();
  if (!Section3() || !SizeField(first) || !Product2(first))
    return false;
  while (PeekNextSection() == 4) {
    auto field = std::make_unique<TDataStuff>(&data_);
    data_.Current = field.get();
    if (!SizeField(*field) || !Product2(*field))
      return false;
    data_.Fields.push_back(std::move(field));
  }
  return true;
}

bool TMessageDecoder::Product2(TDataStuff& field) {
  field.SectionCopy = data_.Fields.front()->SectionCopy;
  field.FileName = data_.FileName;
  if (!Section4(field) || !Section5(field) || !Section6(field) || !Section7(field))
    return false;
  field.BuildName(data_.Discipline, data_.SatelliteLongitude);
  return data_.MakeColourTable(field) && Data2(field);
}

// Reads the header of the section at pos_, logs it and moves pos_ past the
// section. A length that leaves the message (or is shorter than the header,
// which would never advance) fails.
bool TMessageDecoder::ReadSection(int number, const char* name, TOctets& section, std::size_t minimumLength) {
  if (!message_.Has(pos_ + 1, kSectionHeaderLength))
    return Fail("Expected section %d at %zu, the message ends", number, pos_);
  const std::size_t length = message_.U32(pos_ + 1);
  const int found = static_cast<int>(message_.U8(pos_ + 5));
  Logf("At: %zu (0x%zx), found %s section %d, length %zu bytes", pos_, pos_, name, found, length);
  if (found != number)
    return Fail("Expected section %d as the next section.", number);
  if (length < kSectionHeaderLength || !message_.Has(pos_ + 1, length))
    return Fail("Section %d length %zu does not fit the message", number, length);
  if (length < minimumLength)
    return Fail("Section %d of %zu bytes is shorter than the %zu its template needs", number, length,
                minimumLength);
  section = message_.Sub(pos_ + 1, length);
  pos_ += length;
  return true;
}

bool TMessageDecoder::Section1() {
  TOctets s;
  if (!ReadSection(1, "Identification", s, kSection1Length))
    return false;
  const TTimeFields time{static_cast<int>(s.U16(13)), static_cast<int>(s.U8(15)), static_cast<int>(s.U8(16)),
                         static_cast<int>(s.U8(17)), static_cast<int>(s.U8(18)), static_cast<int>(s.U8(19))};
  data_.ReferenceTime = ToDateTime(time);
  Log(QStringLiteral("  Reference time: ") + FormatReferenceTime(time));
  if (s.Size() != 21 && s.Size() != 22)
    return Fail("Unsupported section 1 length: %zu", s.Size());
  TSectionCopy& copy = data_.Current->SectionCopy;
  copy.Section1Length = static_cast<std::uint32_t>(s.Size());
  copy.Centre = static_cast<std::uint16_t>(s.U16(6));
  copy.SubCentre = static_cast<std::uint16_t>(s.U16(8));
  const auto octets = s.Sub(5, copy.Section1.size()).Bytes();
  std::copy(octets.begin(), octets.end(), copy.Section1.begin());
  return true;
}

void TMessageDecoder::Section2() {
  if (message_.U8(pos_ + 5) != 2)
    return;
  const std::size_t length = message_.U32(pos_ + 1);
  Logf("At: %zu (0x%zx), found Local Use section 2, length %zu bytes", pos_, pos_, length);
  Log("  GRIB data with section 2 - section 2 not supported.  Skipped.");
  // A bad length is left for section 3 to report.
  if (length >= kSectionHeaderLength && message_.Has(pos_ + 1, length))
    pos_ += length;
}

bool TMessageDecoder::Section3() {
  TOctets s;
  if (!ReadSection(3, "Grid Definition", s, 14))
    return false;
  if (s.U8(11) != 0)
    return Fail("Cannot handle optional list of number in section 3");
  const int templateNumber = static_cast<int>(s.U16(13));
  bool ok = false;
  switch (templateNumber) {
    case 0: case 1: ok = LatLonGrid2(s, templateNumber); break;
    case 20: ok = PolarGrid2(s); break;
    case 90: ok = SpaceViewGrid2(s); break;
    default: return Fail("Unsupported grid definition (%d) in section 3", templateNumber);
  }
  // The checks name the grid kinds by their edition 1 numbers.
  const int gridType = templateNumber == 20 ? 5 : templateNumber == 90 ? 90 : 0;
  if (!ok || !CheckGridGeometry(gridType))
    return false;
  const std::uint64_t points = s.U32(7);
  if (points != static_cast<std::uint64_t>(data_.Width) * static_cast<std::uint64_t>(data_.Height))
    return Fail("Section 3 names %llu points for a grid of %d x %d", static_cast<unsigned long long>(points),
                data_.Width, data_.Height);
  return true;
}

bool TMessageDecoder::LatLonGrid2(TOctets s, int templateNumber) {
  if (!s.Has(72, 1) || (templateNumber == 1 && !s.Has(81, 4)))
    return Fail("Grid template %d needs more than %zu bytes", templateNumber, s.Size());
  auto& grid = data_.Grid;
  data_.Width = static_cast<std::int32_t>(std::min<std::uint32_t>(s.U32(31), 0x7FFFFFFF));
  data_.Height = static_cast<std::int32_t>(std::min<std::uint32_t>(s.U32(35), 0x7FFFFFFF));
  if (!ScanningMode(static_cast<int>(s.U8(72))))
    return false;
  const double la1 = s.S(47, 4) * 1e-6, lo1Raw = s.U32(51) * 1e-6;
  const double la2 = s.S(56, 4) * 1e-6, lo2 = s.U32(60) * 1e-6;
  double lo1 = lo1Raw;
  if (lo2 < lo1 && lo1 >= 180)
    lo1 -= 360;
  grid.La1 = static_cast<std::int32_t>(std::lround(la1 * 1000));
  grid.Lo1 = static_cast<std::int32_t>(std::lround(lo1 * 1000));
  grid.La2 = static_cast<std::int32_t>(std::lround(la2 * 1000));
  grid.Lo2 = static_cast<std::int32_t>(std::lround(lo2 * 1000));
  grid.Di = static_cast<std::int32_t>(s.U32(64) / 1000);
  grid.Dj = static_cast<std::int32_t>(s.U32(68) / 1000);
  data_.SatelliteLongitude = 0;
  SetLatLonMapping(la1, la2, lo1, lo2);
  const TMapping& m = *data_.Mapping;
  Logf("  Plate-Carree mapping: grid %d x %d (W x H)", data_.Width, data_.Height);
  Logf("    Meridian: %1.f, parallel: %1.f, lon span: %1.f, lat span: %1.f", m.CentreLon(), m.CentreLat(),
       m.LonSpan(), m.LatSpan());
  if (templateNumber == 1) {
    grid.SouthPoleLat = static_cast<std::int32_t>(s.S(73, 4) / 1000);
    grid.SouthPoleLon = static_cast<std::int32_t>(s.U32(77) / 1000);
    grid.RotationAngle = IeeeFloat(s.U32(81));
    Logf("    Pole lat: %1.f, lon: %1.f", grid.SouthPoleLat / 1000.0, grid.SouthPoleLon / 1000.0);
    return SetRotatedMapping(la1, la2, lo1, lo2, s.S(73, 4) * 1e-6, s.U32(77) * 1e-6, grid.RotationAngle);
  }
  return true;
}

bool TMessageDecoder::PolarGrid2(TOctets s) {
  if (!s.Has(65, 1))
    return Fail("Grid template 20 needs more than %zu bytes", s.Size());
  auto& grid = data_.Grid;
  const std::uint32_t nx = s.U32(31), ny = s.U32(35);
  data_.Width = static_cast<std::int32_t>(std::min<std::uint32_t>(nx, 0x7FFFFFFF));
  data_.Height = static_cast<std::int32_t>(std::min<std::uint32_t>(ny, 0x7FFFFFFF));
  const double la1 = s.S(39, 4) * 1e-6, lo1 = s.U32(43) * 1e-6;
  const double lad = s.S(48, 4) * 1e-6;
  const double lov = s.U32(52) * 1e-6;
  const std::uint32_t dxMm = s.U32(56), dyMm = s.U32(60);
  data_.GridType = 5;
  grid.La1 = static_cast<std::int32_t>(std::lround(la1 * 1000));
  grid.Lo1 = static_cast<std::int32_t>(std::lround(lo1 * 1000));
  grid.LoV = static_cast<std::int32_t>(std::lround(lov * 1000));
  grid.Dx = static_cast<std::int32_t>(dxMm / 1000);
  grid.Dy = static_cast<std::int32_t>(dyMm / 1000);
  grid.ResolutionFlags = static_cast<std::uint8_t>(s.U8(47));
  grid.ProjectionCentre = static_cast<std::uint8_t>(s.U8(64));
  grid.Southern = (grid.ProjectionCentre & 0x80) != 0;
  grid.TrueScaleLatitude = static_cast<float>(lad);
  if (!ScanningMode(static_cast<int>(s.U8(65))))
    return false;
  Logf("  Polar-stereo mapping: grid %d x %d (W x H)", data_.Width, data_.Height);
  Logf("  First longitude: %f%s,  first latitude: %f%s", lo1, kDegree, la1, kDegree);
  Logf("  X grid length: %d m,  Y grid length: %d m at 60%s circle", grid.Dx, grid.Dy, kDegree);
  if (dxMm == 0 || dyMm == 0 || dxMm == 0xFFFFFFFFu || dyMm == 0xFFFFFFFFu)
    return Fail("Grid lengths of %u x %u mm cannot be mapped", dxMm, dyMm);
  if (grid.ProjectionCentre & 0x40)
    return Fail("Bi-polar projection cannot be mapped");
  TEarth earth;
  std::string why;
  if (!Grib2Earth(s, earth, why))
    return Fail("Grid on an unknown earth: %s", why.c_str());
  // The latitude where Dx and Dy hold lies on the projection's hemisphere.
  const double trueLat = grid.Southern ? -std::fabs(lad) : std::fabs(lad);
  std::string error;
  auto mapping = PolarStereographicMapping(earth, trueLat, lov, grid.Southern, &error);
  return PlaceProjectedGrid(std::move(mapping), error, la1, lo1, dxMm / 1000.0, dyMm / 1000.0);
}

bool TMessageDecoder::SpaceViewGrid2(TOctets s) {
  if (!s.Has(69, 4))
    return Fail("Grid template 90 needs more than %zu bytes", s.Size());
  const std::uint32_t nx = s.U32(31), ny = s.U32(35);
  data_.Width = static_cast<std::int32_t>(std::min<std::uint32_t>(nx, 0x7FFFFFFF));
  data_.Height = static_cast<std::int32_t>(std::min<std::uint32_t>(ny, 0x7FFFFFFF));
  data_.SatelliteLongitude = TGeostationaryMapping::SubSatelliteLonFromGrid(s.S(43, 4));
  data_.Grid.Xp = static_cast<std::int32_t>(s.U32(56));
  data_.Grid.Yp = static_cast<std::int32_t>(s.U32(60));
  if (!ScanningMode(static_cast<int>(s.U8(64))))
    return false;
  TSpaceView view;
  std::string why;
  if (!Grib2Earth(s, view.earth, why))
    return Fail("Grid on an unknown earth: %s", why.c_str());
  view.xpThousandths = data_.Grid.Xp;
  view.ypThousandths = data_.Grid.Yp;
  view.dx = s.U32(48);
  view.dy = s.U32(52);
  view.nr = s.U32(69);
  SetSpaceViewMapping(view);
  Logf("  Geostationary mapping: grid %d x %d (W x H)", data_.Width, data_.Height);
  Logf("  Sub-satellite longitude: %.1f%s", data_.SatelliteLongitude, kDegree);
  return true;
}

bool TMessageDecoder::Section4(TDataStuff& field) {
  TOctets s;
  if (!ReadSection(4, "Product Definition", s, 11))
    return false;
  if (s.U16(6) != 0)
    return Fail("Cannot handle co-ordinate list in section 4");
  const int templateNumber = static_cast<int>(s.U16(8));
  Logf("  Product defintion template: %d", templateNumber);
  Logf("  Product parameter category: %u", s.U8(10));
  Logf("  Product parameter number: %u", s.U8(11));
  switch (templateNumber) {
    case 0: case 1: case 8: {
      if (!s.Has(1, kProductTemplate0Length))
        return Fail("Product template %d needs more than %zu bytes", templateNumber, s.Size());
      field.ParameterCategory = static_cast<std::int32_t>(s.U8(10));
      field.ParameterNumber = static_cast<std::int32_t>(s.U8(11));
      if (s.U8(23) == 100) {
        std::uint32_t level = s.U32(25);
        if (field.SectionCopy.Centre == 78 && field.SectionCopy.SubCentre == 255)
          level /= 100;
        level = std::min<std::uint32_t>(level, 0xFFFF);
        field.ProductId[5] = 100;
        field.ProductId[6] = static_cast<std::uint8_t>(level >> 8);
        field.ProductId[7] = static_cast<std::uint8_t>(level & 0xFF);
      }
      const int unit = static_cast<int>(s.U8(18));
      field.ProductId[13] = static_cast<std::uint8_t>(unit);
      const TForecastUnit* unitText = FindForecastUnit(unit, 2);
      if (unitText)
        Log(QString::fromUtf8(unitText->LogLine));
      const char* suffix = ForecastSuffix(unit);
      if (unitText && suffix) {
        const auto period = static_cast<std::int64_t>(s.U32(19)) * unitText->Multiplier;
        field.ForecastText = QString::asprintf(" +%lld ", static_cast<long long>(period)) + QString::fromUtf8(suffix);
      }
      break;
    }
    case 30: case 31:
      field.ParameterCategory = static_cast<std::int32_t>(s.U8(10));
      field.ParameterNumber = static_cast<std::int32_t>(s.U8(11));
      break;
    default:
      return Fail("Unsupported product definition (%d) in section 4", templateNumber);
  }
  const QString description = Edition2Description(field.ParameterCode());
  if (!description.isEmpty())
    Log(description);
  return true;
}

bool TMessageDecoder::Section5(TDataStuff& field) {
  TOctets s;
  if (!ReadSection(5, "Data Representation", s, kSimplePackingLength))
    return false;
  const int templateNumber = static_cast<int>(s.U16(10));
  if (templateNumber != 0 && templateNumber != 2 && templateNumber != 3)
    return Fail("Unsupported data representation (%d) in section 5", templateNumber);
  if (templateNumber == 2 && s.Size() < kComplexPackingLength)
    return Fail("Complex packing needs %zu bytes in section 5, it has %zu", kComplexPackingLength, s.Size());
  if (templateNumber == 3 && s.Size() < kSpatialDifferencingLength)
    return Fail("Spatial differencing needs %zu bytes in section 5, it has %zu", kSpatialDifferencingLength,
                s.Size());
  section5_ = s;
  auto& copy = field.SectionCopy.Section5;
  copy.fill(0);
  const auto octets = s.Bytes().first(std::min(s.Size(), kSection5CopyLength));
  std::copy(octets.begin(), octets.end(), copy.begin());

  field.ReferenceValue = IeeeFloat(s.U32(12));
  field.BinaryScale = s.S(16, 2);
  field.DecimalScale = s.U16(18) == 0xFFFF ? 0 : s.S(18, 2);
  field.BitsPerValue = static_cast<std::uint8_t>(s.U8(20));
  Logf("  %d-bit data,  reference value: %f,  decimal scale factor: %d,  binary scale factor: %d",
       field.BitsPerValue, field.ReferenceValue, field.DecimalScale, field.BinaryScale);
  if (templateNumber == 3)
    Logf("  Complex packing with spatial differencing of order %u", s.U8(48));
  if (!CheckScaleFactors(field))
    return false;
  field.IndexValues.fill(0);
  const double binary = std::ldexp(1.0, field.BinaryScale);
  const double decimal = std::pow(10.0, field.DecimalScale);
  if (field.BitsPerValue >= 1 && field.BitsPerValue <= 8)
    for (int i = 0; i < (1 << field.BitsPerValue); ++i)
      field.IndexValues[i] = static_cast<float>((i * binary + field.ReferenceValue) / decimal);
  if (field.BitsPerValue == 16 && field.SectionCopy.Centre == 80 && field.ParameterCode() == 300001001)
    for (int i = 1; i < 256; ++i)
      field.IndexValues[i] = static_cast<float>((i * 256 * binary + field.ReferenceValue) / decimal);
  return true;
}

bool TMessageDecoder::Section6(TDataStuff& field) {
  TOctets s;
  if (!ReadSection(6, "Bit-map", s, 6))
    return false;
  const int indicator = static_cast<int>(s.U8(6));
  if (indicator == 255) {
    field.NoBitmap = true;
    return true;
  }
  if (indicator == 254) {
    if (!data_.HasPreviousBitmap)
      return Fail("Bit map indicator 254 names no earlier bit map");
    field.Available = data_.PreviousBitmap;
    field.NoBitmap = false;
    return true;
  }
  if (indicator != 0)
    return Fail("Predefined bit map %d is not available", indicator);
  const auto bits = s.Bytes().subspan(6);
  const std::int64_t points = std::int64_t{data_.Width} * data_.Height;
  if (static_cast<std::int64_t>(bits.size()) * 8 < points)
    return Fail("Bit map holds %zu bits for %lld grid points", bits.size() * 8, static_cast<long long>(points));
  ExpandBitmap(bits, field);
  data_.PreviousBitmap = field.Available;
  data_.HasPreviousBitmap = true;
  field.NoBitmap = false;
  return true;
}

bool TMessageDecoder::Section7(TDataStuff&) {
  TOctets s;
  if (!ReadSection(7, "Data", s, kSectionHeaderLength))
    return false;
  section7_ = s;
  return true;
}

bool TMessageDecoder::Data2(TDataStuff& field) {
  if (!CheckBitmap(field))
    return false;
  const std::uint64_t dataPoints = section5_.U32(6);
  if (dataPoints != static_cast<std::uint64_t>(presentPoints_))
    return Fail("Section 5 names %llu values for %lld points with data", static_cast<unsigned long long>(dataPoints),
                static_cast<long long>(presentPoints_));
  const auto data = section7_.Bytes().subspan(kSectionHeaderLength);
  const bool ok = field.SectionCopy.DataTemplate() == 0 ? PrepareSimple(field, data, field.BitsPerValue)
                                                        : UnpackComplex(field, section5_, data);
  if (!ok)
    return false;
  ScanRange(field);
  LogRange(field);
  Edition2IndexTables(field);
  Paint(field);
  MarkMissingValues(field);
  return true;
}

int TMessageDecoder::PeekNextSection() const {
  if (!message_.Has(pos_ + 1, 4))
    return 255;
  const std::uint32_t word = message_.U32(pos_ + 1);
  if (word == 0x47524942u)  // "GRIB"
    return 0;
  if (word == 0x37373737u)  // "7777"
    return 8;
  return message_.Has(pos_ + 5, 1) ? static_cast<int>(message_.U8(pos_ + 5)) : 255;
}
