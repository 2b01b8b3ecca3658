#pragma once
// Value classes of the classified products: the byte code a class has in a
// field's picture, its display colour and its name.
#include <cstdint>
#include <span>
#include <string_view>

#include "grib/ExtBitmap.h"

struct TLabelData {
  // Colour in the low three bytes (red lowest, 0x00BBGGRR) and the class
  // code in the top byte, so the word can serve as a colour value as it is.
  std::uint32_t Data = 0;
  std::string_view Name;

  constexpr TLabelData(int code, std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::string_view name)
      : Data(static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
             static_cast<std::uint32_t>(blue) << 16 | static_cast<std::uint32_t>(code & 0xFF) << 24),
        Name(name)
  {
  }
  constexpr int Code() const { return static_cast<int>(Data >> 24); }
  constexpr std::uint32_t ColourValue() const { return Data & 0x00FFFFFFu; }
  constexpr TRgb Colour() const
  {
    return {static_cast<std::uint8_t>(Data), static_cast<std::uint8_t>(Data >> 8),
            static_cast<std::uint8_t>(Data >> 16)};
  }
};

using TClassTable = std::span<const TLabelData>;

// The fixed display colours kept at the top of the product palettes.
inline constexpr TRgb kBlack{0, 0, 0};
inline constexpr TRgb kDarkGrey{56, 56, 56};
inline constexpr TRgb kSilver{192, 192, 192};
inline constexpr TRgb kWhite{255, 255, 255};

// Sea-ice concentration, by position: land first, then the percentage
// ranges upwards. Each record's code is the lowest percentage it paints
// (101 for land).
TClassTable ConcentrationClasses();
// Sea-ice edge and type, by code. The extended tables add "Unclassified".
TClassTable EdgeClasses();
TClassTable EdgeClassesExtended();
TClassTable TypeClasses();
TClassTable TypeClassesExtended();
// Tables used by position (record i is palette entry i).
TClassTable ConfidenceClasses();
TClassTable CloudMaskClasses();
TClassTable ClearCloudClasses();
TClassTable FireClasses();
TClassTable SurfaceClasses();
