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

// Parameter codes that fill the product slots.
inline constexpr int kCodeConcentration = 91;
inline constexpr int kCodeEdge = 220;
inline constexpr int kCodeType = 221;
inline constexpr int kCodeTemperature = 11;
inline constexpr int kCodeSst = 310010000;

// The slot a decoded field of this parameter code belongs in, or -1.
constexpr int ProductForParameterCode(int code)
{
  switch (code) {
  case kCodeConcentration: return prConcentration;
  case kCodeEdge: return prEdge;
  case kCodeType: return prType;
  case kCodeTemperature:
  case kCodeSst: return prSst;
  default: return -1;
  }
}

constexpr bool IsSstCode(int code) { return code == kCodeTemperature || code == kCodeSst; }
