#pragma once
// The four products the viewer shows, in tab order. The number of a product
// is also its tab index and the position of its bit in a product mask.
#include <array>
#include <string_view>

enum TProduct : int { prConcentration = 0, prEdge = 1, prType = 2, prSst = 3 };
inline constexpr int kProductCount = 4;

inline constexpr unsigned kMaskConcentration = 1;
inline constexpr unsigned kMaskEdge = 2;
inline constexpr unsigned kMaskType = 4;
inline constexpr unsigned kMaskSst = 8;
inline constexpr unsigned kMaskAll = 15;

constexpr unsigned ProductMask(int product) { return 1u << product; }

// Base names of saved pictures ("conc.png" and so on).
inline constexpr std::array<std::string_view, kProductCount> kProductBaseNames = {
  "conc", "edge", "type", "sst"};

inline constexpr std::array<std::string_view, kProductCount> kProductTabCaptions = {
  "Sea-ice concentration", "Sea-ice edge", "Sea-ice type", "Sea Surface Temperature"};

// Parameter codes that fill the product slots (edition 1 parameter octets,
// and the edition 2 code of sea-surface temperature).
inline constexpr int kSlotCodeConcentration = 91;
inline constexpr int kSlotCodeEdge = 220;
inline constexpr int kSlotCodeType = 221;
inline constexpr int kSlotCodeTemperature = 11;
inline constexpr int kSlotCodeSst = 310010000;

// The slot a decoded field of this parameter code belongs in, or -1.
constexpr int ProductForParameterCode(int code)
{
  switch (code) {
  case kSlotCodeConcentration: return prConcentration;
  case kSlotCodeEdge: return prEdge;
  case kSlotCodeType: return prType;
  case kSlotCodeTemperature:
  case kSlotCodeSst: return prSst;
  default: return -1;
  }
}

constexpr bool IsSstCode(int code) { return code == kSlotCodeTemperature || code == kSlotCodeSst; }
