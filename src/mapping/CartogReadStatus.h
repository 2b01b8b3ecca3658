#pragma once
// Outcome of reading one boundary, shoreline or track file. Segments read
// before a fault stay in the list; the error says what stopped the reading.
#include <string>

struct TCartogReadStatus {
  bool ok = true;
  std::string error;

  static TCartogReadStatus Fail(std::string why) { return {false, std::move(why)}; }
};
