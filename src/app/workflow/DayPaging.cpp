#include "app/workflow/DayPaging.h"

#include <filesystem>

#include "app/workflow/Animation.h"
#include "app/workflow/FileNames.h"
#include "app/workflow/FileSearch.h"
#include "app/workflow/Products.h"
#include "app/workflow/Workflow.h"

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const QString& name) { return fs::path(name.toStdU16String()); }

// A day's file under any of its names and compressions.
bool DayFileExists(const QString& fileName)
{
  const fs::path file = ToPath(fileName);
  if (FindDataFile(ResolveDataFileName(file))) {
    return true;
  }
  return FindDataFile(file.parent_path() / MultiProductConcentrationName(file.filename().string())).has_value();
}

}  // namespace

std::optional<TNeighbourDay> FindNeighbourDay(const QString& source, int step)
{
  const QDate sourceDay = DateFromFileName(source);
  if (!sourceDay.isValid() || step == 0) {
    return std::nullopt;
  }
  const int direction = step < 0 ? -1 : 1;
  for (int k = 1; k <= kMaxDayGap; ++k) {
    const QDate day = sourceDay.addDays(static_cast<qint64>(direction) * k);
    const QString fileName = AnimationFrameFileName(source, sourceDay, day);
    if (DayFileExists(fileName)) {
      return TNeighbourDay{day, fileName};
    }
  }
  return std::nullopt;
}

QString PagingSource(const TWorkflow& workflow)
{
  for (int product : {prConcentration, prEdge, prType, prSst}) {
    if (workflow.Data(product) != nullptr && !workflow.AnimationSource(product).isEmpty()) {
      return workflow.AnimationSource(product);
    }
  }
  return {};
}

std::optional<QDate> StepDay(TWorkflow& workflow, int step)
{
  const QString source = PagingSource(workflow);
  const std::optional<TNeighbourDay> next = FindNeighbourDay(source, step);
  if (!next) {
    return std::nullopt;
  }
  const int tab = workflow.SelectedTab();
  const QString sst = workflow.Data(prSst) != nullptr ? workflow.AnimationSource(prSst) : QString();
  workflow.LoadProducts(next->FileName, kMaskAll);
  if (!sst.isEmpty() && sst != source) {
    const QString sstOfDay = AnimationFrameFileName(sst, DateFromFileName(sst), next->Day);
    if (DayFileExists(sstOfDay)) {
      workflow.LoadProducts(sstOfDay, kMaskSst);
    }
  }
  workflow.SelectTab(tab);
  workflow.Render();
  return next->Day;
}
