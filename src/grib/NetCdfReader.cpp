#include "grib/NetCdfReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <functional>
#include <limits>
#include <optional>
#include <sstream>

#include "grib/Decoder.h"
#include "grib/GribData.h"
#include "grib/Limits.h"
#include "grib/NetCdfClassic.h"
#include "grib/NetCdfFile.h"
#include "grib/NetCdfFlags.h"
#include "grib/NetCdfGrid.h"
#include "grib/NetCdfPacking.h"
#include "grib/NetCdfTime.h"
#include "grib/NetCdfValues.h"
#include "grib/ParameterCode.h"

namespace {

enum class TProduct { Concentration, Edge, Type, Sst };

constexpr const char* kProductNames[] = {"sea-ice concentration", "sea-ice edge", "sea-ice type",
                                         "sea-surface temperature"};

// Class codes of the pictures, as the GRIB products have them.
constexpr int kConcentrationLand = 101;
constexpr int kClassLand = 9;
constexpr int kClassUnclassified = 10;
// A point's class code or colour index, or kHole.
using TCode = std::int16_t;
constexpr TCode kHole = -1;
constexpr double kKelvinAtZeroCelsius = 273.15;

constexpr std::array<const char*, 4> kSstStandardNames = {"sea_surface_temperature",
                                                          "sea_surface_subskin_temperature",
                                                          "sea_surface_foundation_temperature", "analysed_sst"};
constexpr std::array<const char*, 2> kConcentrationStandardNames = {"sea_ice_area_fraction", "sea_area_fraction"};

// Meanings of the edge and type flags and the class codes they become.
struct TMeaningCode {
  const char* meaning;
  int code;
};
constexpr TMeaningCode kEdgeMeanings[] = {
  {"open_water", 1}, {"open_ice", 2}, {"closed_ice", 3}, {"land", kClassLand}, {"unclassified", kClassUnclassified}};
constexpr TMeaningCode kTypeMeanings[] = {{"open_water", 1},   {"first_year_ice", 2},
                                          {"multi_year_ice", 3}, {"ambiguous", 4},
                                          {"land", kClassLand},  {"unclassified", kClassUnclassified}};

std::string Lower(std::string text)
{
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool OneOf(const std::string& text, const auto& names)
{
  return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return text == n; });
}

class TNetCdfDecoder {
public:
  TNetCdfDecoder(TGribData& data, const QString& fileName) : data_(data), field_(*data.Current), fileName_(fileName) {}

  bool Decode(std::span<const std::uint8_t> bytes)
  {
    std::string why;
    if (IsClassicNetCdf(bytes) && !CheckClassicLength(bytes, why))
      return Fail("Classic netCDF file refused: " + why);
    file_ = TNetCdfFile::Open(bytes, why);
    if (!file_)
      return Fail("netCDF file cannot be opened: " + why);
    Log("netCDF file (" + file_->FormatName() + ")");
    return ChooseVariable() && Dimensions() && Grid() && Time() && Values();
  }

private:
  void Log(const std::string& line) { data_.Log.append(QString::fromStdString(line)); }
  bool Fail(const std::string& line)
  {
    Log(line);
    return false;
  }

  std::string Text(int variable, const char* name) const { return file_->Text(variable, name).value_or(""); }

  // The first product found, in the order concentration, edge, type, SST.
  bool ChooseVariable()
  {
    const std::vector<int> variables = file_->Variables();
    const auto find = [&](auto&& matches) -> std::optional<int> {
      for (const int v : variables)
        if (matches(v))
          return v;
      return std::nullopt;
    };
    const auto named = [&](const char* name) { return [this, name](int v) { return file_->Name(v) == name; }; };
    std::optional<int> concentration = find(named("ice_conc"));
    if (!concentration)
      concentration = find([&](int v) { return OneOf(Text(v, "standard_name"), kConcentrationStandardNames); });
    const std::optional<int> candidates[] = {
      concentration,
      find(named("ice_edge")),
      find(named("ice_type")),
      find([&](int v) { return OneOf(Text(v, "standard_name"), kSstStandardNames) || OneOf(file_->Name(v), kSstStandardNames); }),
    };
    for (std::size_t i = 0; i < std::size(candidates); ++i)
      if (candidates[i]) {
        product_ = static_cast<TProduct>(i);
        variable_ = *candidates[i];
        Log("  Variable used: " + file_->Name(variable_) + " (" + kProductNames[i] + ")");
        return true;
      }
    return Fail("No product in the file: looked for ice_conc (sea_ice_area_fraction), ice_edge, ice_type and a "
                "sea_surface_temperature, sea_surface_subskin_temperature, sea_surface_foundation_temperature or "
                "analysed_sst variable");
  }

  // The grid is the last two dimensions; any before them (time) are read at
  // their first index.
  bool Dimensions()
  {
    dimensions_ = file_->Dimensions(variable_);
    if (dimensions_.size() < 2)
      return Fail("The data variable has fewer than two dimensions");
    for (const TNetCdfDimension& d : dimensions_)
      if (d.length == 0)
        return Fail("Dimension \"" + d.name + "\" is empty");
    const std::size_t width = dimensions_.back().length, height = dimensions_[dimensions_.size() - 2].length;
    if (width > static_cast<std::size_t>(kMaxGridSide) || height > static_cast<std::size_t>(kMaxGridSide) ||
        width * height > static_cast<std::size_t>(kMaxGridPoints))
      return Fail("A grid of " + std::to_string(width) + " x " + std::to_string(height) +
                  " points is beyond what can be shown");
    Log("  Grid size: " + std::to_string(width) + " x " + std::to_string(height));
    return true;
  }

  bool Grid()
  {
    std::vector<std::string> lines;
    std::string why;
    const bool ok = ReadNetCdfGrid(*file_, variable_, grid_, lines, why);
    for (const std::string& line : lines)
      Log(line);
    if (!ok)
      return Fail("Grid refused: " + why);
    data_.Width = grid_.width;
    data_.Height = grid_.height;
    data_.Mapping = std::move(grid_.mapping);
    data_.GridType = static_cast<std::uint8_t>(grid_.gridType);
    data_.Grid.Southern = grid_.southern;
    data_.Grid.LoV = static_cast<std::int32_t>(std::lround(grid_.orientation * 1000));
    if (grid_.gridType == 0) {
      data_.Grid.La1 = static_cast<std::int32_t>(std::lround(grid_.south * 1000));
      data_.Grid.La2 = static_cast<std::int32_t>(std::lround(grid_.north * 1000));
      data_.Grid.Lo1 = static_cast<std::int32_t>(std::lround(grid_.west * 1000));
      data_.Grid.Lo2 = static_cast<std::int32_t>(std::lround(grid_.east * 1000));
    } else {
      // The first point stored, as GRIB files name it.
      float lon = 0, lat = 0;
      const int column = grid_.flipColumns ? grid_.width - 1 : 0;
      const int row = grid_.flipRows ? grid_.height - 1 : 0;
      if (data_.Mapping->PixelToLatLon(column, row, lon, lat)) {
        data_.Grid.La1 = static_cast<std::int32_t>(std::lround(lat * 1000.0));
        data_.Grid.Lo1 = static_cast<std::int32_t>(std::lround(lon * 1000.0));
      }
    }
    return true;
  }

  bool Time()
  {
    if (const std::optional<int> time = file_->Variable("time")) {
      std::vector<double> values;
      std::string why;
      const auto dims = file_->Dimensions(*time);
      if (dims.size() == 1 && dims[0].length >= 1 && file_->ReadDoubles(*time, {0}, {1}, values, why)) {
        const std::string units = Text(*time, "units");
        if (const auto t = CfTime(values.front(), units)) {
          data_.ReferenceTime = *t;
          Log("  Time: " + t->toString(Qt::ISODate).toStdString() + " (" + units + ")");
          return true;
        }
        Log("  Time " + std::to_string(values.front()) + " in \"" + units + "\" not understood");
      }
    }
    if (const auto t = TimeFromFileName(fileName_)) {
      data_.ReferenceTime = *t;
      Log("  Time from the file name: " + t->toString(Qt::ISODate).toStdString());
      return true;
    }
    return Fail("The file states no time and its name holds no date");
  }

  // The values of a variable shaped like the data variable, in file order
  // and in their stored type where that is a small integer.
  bool ReadSlab(int variable, TStoredValues& values)
  {
    std::vector<std::size_t> start(dimensions_.size(), 0), count(dimensions_.size(), 1);
    count[count.size() - 2] = static_cast<std::size_t>(grid_.height);
    count.back() = static_cast<std::size_t>(grid_.width);
    std::string why;
    if (!file_->ReadStored(variable, start, count, values, why))
      return Fail("Values of " + file_->Name(variable) + " cannot be read: " + why);
    return true;
  }

  // A status flag's values and its test for land.
  struct TLandFlags {
    TStoredValues values;
    TFlagTest isLand;
  };

  // The status flag that marks land; nothing when the file has no status
  // flag with a "land" meaning on the same grid.
  std::optional<TLandFlags> LandFlags()
  {
    std::vector<std::string> names;
    std::istringstream words(Text(variable_, "ancillary_variables"));
    for (std::string word; words >> word;)
      names.push_back(word);
    names.push_back("status_flag");
    for (const std::string& name : names) {
      const std::optional<int> flags = file_->Variable(name);
      if (!flags)
        continue;
      const std::optional<TFlagTable> table = TFlagTable::Read(*file_, *flags);
      if (!table || !table->HasMeaning("land"))
        continue;
      const auto dims = file_->Dimensions(*flags);
      if (dims.size() != dimensions_.size() || dims.back().length != dimensions_.back().length ||
          dims[dims.size() - 2].length != dimensions_[dims.size() - 2].length) {
        Log("  " + name + " is not on the data's grid: not used");
        continue;
      }
      TLandFlags land{{}, table->TestFor("land")};
      if (!ReadSlab(*flags, land.values))
        return std::nullopt;
      Log("  Land from " + name);
      return land;
    }
    return std::nullopt;
  }

  bool Values()
  {
    std::string why;
    const std::optional<TCfPacking> packing = TCfPacking::Read(*file_, variable_, why);
    if (!packing)
      return Fail("Packing of " + file_->Name(variable_) + " refused: " + why);
    TStoredValues stored;
    if (!ReadSlab(variable_, stored))
      return false;
    field_.FileName = fileName_;
    field_.SetGridSize(grid_.height, grid_.width);
    if (product_ == TProduct::Sst)
      return Temperatures(*packing, stored);
    return Classes(*packing, stored);
  }

  // -------------------------------------------------------- classified products

  using TCodeRule = std::function<TCode(double)>;

  bool Classes(const TCfPacking& packing, const TStoredValues& stored)
  {
    const std::optional<TLandFlags> land = LandFlags();
    TCodeRule codeOf = product_ == TProduct::Concentration ? Percentages(packing) : Flags(packing);
    if (!codeOf)
      return false;
    static constexpr int kParameterOctets[] = {kParameterIceConcentration, kParameterIceEdge, kParameterIceType};
    data_.Edition = 1;
    field_.ProductId[4] = static_cast<std::uint8_t>(kParameterOctets[static_cast<int>(product_)]);
    field_.BuildEdition1Name();
    if (!data_.MakeColourTable(field_))
      return false;
    field_.IndexValues.fill(0);
    for (int i = 0; i < 256; ++i)
      field_.IndexValues[static_cast<std::size_t>(i)] = static_cast<float>(i);
    const TValueMap<TCode, TCodeRule> codes(stored, std::move(codeOf));
    std::optional<TValueMap<std::uint8_t, TFlagTest>> isLand;
    if (land)
      isLand.emplace(land->values, land->isLand);
    const TCode landCode = product_ == TProduct::Concentration ? kConcentrationLand : kClassLand;
    if (!isLand) {
      Paint([&](std::size_t first, std::span<TCode> row) { codes.Map(first, row); });
      return true;
    }
    codes.WithValues([&](auto values, auto&& codeOf) {
      isLand->WithValues([&](auto flags, auto&& landOf) {
        Paint([&](std::size_t first, std::span<TCode> row) {
          for (std::size_t k = 0; k < row.size(); ++k)
            row[k] = landOf(flags[first + k]) ? landCode : codeOf(values[first + k]);
        });
      });
    });
    return true;
  }

  // The percentage code of a stored concentration; empty when the units
  // are not understood.
  TCodeRule Percentages(const TCfPacking& packing)
  {
    const std::string units = Text(variable_, "units");
    double toPercent = 1;
    if (units == "1")
      toPercent = 100;
    else if (units != "%" && units != "percent")
      return Fail("Concentration in units \"" + units + "\" is not understood"), TCodeRule();
    return [packing, toPercent](double stored) {
      if (const auto value = packing.Unpack(stored))
        return static_cast<TCode>(std::clamp(std::nearbyint(*value * toPercent), 0.0, 100.0));
      return kHole;
    };
  }

  // The class code of a stored edge or type flag; empty when the file
  // defines none of the classes shown.
  TCodeRule Flags(const TCfPacking& packing)
  {
    const std::optional<TFlagTable> table = TFlagTable::Read(*file_, variable_);
    if (!table)
      return Fail(file_->Name(variable_) + " has no flag_values with flag_meanings"), TCodeRule();
    // The stored value of each class the file defines.
    std::vector<std::pair<double, int>> classes;
    const auto meanings = product_ == TProduct::Edge ? std::span<const TMeaningCode>(kEdgeMeanings)
                                                     : std::span<const TMeaningCode>(kTypeMeanings);
    for (const TMeaningCode& m : meanings)
      if (const auto value = table->ValueOf(m.meaning))
        classes.emplace_back(*value, m.code);
    if (classes.empty())
      return Fail(file_->Name(variable_) + " defines none of the classes shown"), TCodeRule();
    data_.ExtendedGrid = table->ValueOf("unclassified").has_value();
    return [packing, classes](double stored) {
      if (!packing.Valid(stored))
        return kHole;
      for (const auto& [value, code] : classes)
        if (stored == value)
          return static_cast<TCode>(code);
      return kHole;
    };
  }

  // --------------------------------------------------------------- temperature

  bool Temperatures(const TCfPacking& packing, const TStoredValues& stored)
  {
    const std::string units = Lower(Text(variable_, "units"));
    double shift = 0;
    if (units == "degc" || units == "celsius" || units == "degree_celsius" || units == "degrees_celsius")
      shift = kKelvinAtZeroCelsius;
    else if (units != "k" && units != "kelvin")
      return Fail("Temperature in units \"" + units + "\" is not understood");
    const auto kelvinOf = [&packing, shift](double value) {
      if (const auto unpacked = packing.Unpack(value); unpacked && std::isfinite(*unpacked + shift))
        return *unpacked + shift;
      return std::numeric_limits<double>::quiet_NaN();
    };
    const TValueMap<double, decltype(kelvinOf)> kelvin(stored, kelvinOf);
    const std::size_t width = static_cast<std::size_t>(grid_.width);
    std::vector<double> kelvinRow(width);
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (std::size_t first = 0; first < StoredCount(stored); first += width) {
      kelvin.Map(first, kelvinRow);
      for (const double value : kelvinRow)
        if (!std::isnan(value)) {
          low = std::min(low, value);
          high = std::max(high, value);
        }
    }
    if (low > high)
      low = high = 0;
    data_.Edition = 2;
    data_.Discipline = 10;
    field_.ParameterCategory = 3;
    field_.ParameterNumber = 0;
    field_.BuildName(data_.Discipline, 0);
    if (!data_.MakeColourTable(field_))
      return false;
    field_.MinValue = static_cast<float>(low);
    field_.MaxValue = static_cast<float>(high);
    const TDataStuff::TScaleSpan entries = field_.ScaleSpan();
    const double steps = entries.Last - entries.First;
    for (int i = 0; i < 256; ++i)
      field_.IndexValues[static_cast<std::size_t>(i)] = static_cast<float>(low + (i - entries.First) * (high - low) / steps);
    char range[96];
    std::snprintf(range, sizeof range, "  Data range: %.3f .. %.3f K", low, high);
    Log(range);
    const std::uint8_t missing = field_.MissingIndex;
    const double span = high - low;
    Paint([&](std::size_t first, std::span<TCode> row) {
      kelvin.Map(first, kelvinRow);
      for (std::size_t k = 0; k < row.size(); ++k) {
        if (std::isnan(kelvinRow[k])) {
          row[k] = kHole;
          continue;
        }
        int index = span > 0 ? ScaleIndex(entries, (kelvinRow[k] - low) / span) : entries.First;
        // The missing points' entry is never given to a value.
        if (index == missing)
          index = index == 255 ? 254 : index + 1;
        row[k] = static_cast<TCode>(index);
      }
    });
    return true;
  }

  // ---------------------------------------------------------------- picture

  // Writes each point's colour index to its pixel, row by row in file
  // order: `rowCodes(first, row)` gives the codes of the row starting at
  // point `first`. Holes get the missing points' entry and are cleared in
  // Available (kept in picture order, made at the first hole).
  template <class RowCodes>
  void Paint(RowCodes&& rowCodes)
  {
    const std::size_t width = static_cast<std::size_t>(grid_.width), height = static_cast<std::size_t>(grid_.height);
    std::vector<TCode> codes(width);
    bool holes = false;
    for (std::size_t row = 0; row < height; ++row) {
      rowCodes(row * width, std::span<TCode>(codes));
      const int y = static_cast<int>(grid_.flipRows ? height - 1 - row : row);
      std::uint8_t* pixels = field_.Bitmap.ScanLine(y);
      const bool rowHoles = grid_.flipColumns ? PaintRow<true>(codes, pixels) : PaintRow<false>(codes, pixels);
      if (!rowHoles)
        continue;
      if (!holes)
        field_.Available.Resize(grid_.height, grid_.width, 1);
      holes = true;
      std::uint8_t* present = field_.Available.Cells().data() + static_cast<std::size_t>(y) * width;
      for (std::size_t k = 0; k < width; ++k)
        if (codes[k] == kHole)
          present[grid_.flipColumns ? width - 1 - k : k] = 0;
    }
    field_.NoBitmap = !holes;
  }

  // One row of pixels, right to left when `kFlip`; true when it has holes.
  template <bool kFlip>
  bool PaintRow(std::span<const TCode> codes, std::uint8_t* pixels) const
  {
    const std::uint8_t missing = field_.MissingIndex;
    const std::size_t width = codes.size();
    bool holes = false;
    for (std::size_t k = 0; k < width; ++k) {
      const bool hole = codes[k] == kHole;
      pixels[kFlip ? width - 1 - k : k] = hole ? missing : static_cast<std::uint8_t>(codes[k]);
      holes |= hole;
    }
    return holes;
  }

  TGribData& data_;
  TDataStuff& field_;
  QString fileName_;
  std::unique_ptr<TNetCdfFile> file_;
  TProduct product_ = TProduct::Concentration;
  int variable_ = -1;
  std::vector<TNetCdfDimension> dimensions_;
  TNetCdfGrid grid_;
};

}  // namespace

bool IsNetCdfData(std::span<const std::uint8_t> bytes) { return IsClassicNetCdf(bytes) || IsHdf5(bytes); }

bool DecodeNetCdf(TGribData& data, std::span<const std::uint8_t> bytes, const QString& fileName)
{
  data.Current->Available.Clear();
  bool ok = false;
  try {
    ok = TNetCdfDecoder(data, fileName).Decode(bytes);
  } catch (const std::exception& error) {
    // Only allocation can throw here.
    data.Log.append(QStringLiteral("Decoding stopped: %1").arg(QString::fromUtf8(error.what())));
  }
  data.Current = data.Fields.back().get();
  return ok && data.Current->Bitmap.Height() > 0;
}
