#pragma once
// Paging through the days of the data tree: the nearest earlier or later
// day whose file exists, found with the animation's frame-name rules (the
// date in the file name and in the day or month folders follows the day),
// whether that day's file is stored with or without ".gz" and under the
// current, older or multi-product name.
#include <QDate>
#include <QString>

#include <optional>

class TWorkflow;

// Days looked at on either side before the tree counts as ended.
inline constexpr int kMaxDayGap = 62;

// The day of the existing file nearest to the day of `source` in the
// direction of `step` (-1 earlier, +1 later), with that file's name as the
// frame rules give it; nothing when there is none within kMaxDayGap days.
struct TNeighbourDay {
  QDate Day;
  QString FileName;
};
std::optional<TNeighbourDay> FindNeighbourDay(const QString& source, int step);

// The file the products of the workflow are paged by: the loaded sea-ice
// set's concentration file, else the SST file; empty when nothing is loaded.
QString PagingSource(const TWorkflow& workflow);

// Loads the products of the neighbouring day in the direction of `step`:
// the sea-ice set and, when its file exists for that day, the SST; the
// selected tab stays. The day loaded, or nothing (and nothing changes) at
// the end of the tree.
std::optional<QDate> StepDay(TWorkflow& workflow, int step);
