#pragma once
// Outcome of reading one boundary, shoreline or track file. Segments read
// before a fault stay in the list; the error says what stopped the reading.
// The log holds what a lenient reader passed over or limited (the GPX
// reader's skipped points, for one), whether or not the reading failed.
#include <string>
#include <vector>

struct TCartogReadStatus {
  bool ok = true;
  std::string error;
  std::vector<std::string> log;

  static TCartogReadStatus Fail(std::string why) { return {false, std::move(why), {}}; }
};
