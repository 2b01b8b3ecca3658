#include "app/FormMainDays.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>

#include "app/BusyCursor.h"
#include "app/FormMain.h"
#include "app/workflow/DayPaging.h"

namespace {

constexpr int kStatusMsec = 5000;

}  // namespace

TFormMainDays::TFormMainDays(TFormMain& form) : QObject(&form), form_(form)
{
  setObjectName("FormMainDays");
  BuildMenu();
  connect(&form_, &TFormMain::DisplayShown, this, &TFormMainDays::UpdateItems);
  UpdateItems();
}

TFormMainDays* TFormMainDays::Of(const TFormMain& form)
{
  return form.findChild<TFormMainDays*>(QString(), Qt::FindDirectChildrenOnly);
}

void TFormMainDays::BuildMenu()
{
  auto* view = new QMenu("&View", &form_);
  view->setObjectName("MenuView");
  const auto* tools = form_.findChild<QMenu*>("MenuTools");
  form_.menuBar()->insertMenu(tools != nullptr ? tools->menuAction() : nullptr, view);

  previousDay_ = view->addAction("&Previous day");
  previousDay_->setObjectName("MenuViewPreviousDay");
  previousDay_->setShortcut(Qt::Key_PageUp);
  nextDay_ = view->addAction("&Next day");
  nextDay_->setObjectName("MenuViewNextDay");
  nextDay_->setShortcut(Qt::Key_PageDown);
  connect(previousDay_, &QAction::triggered, this, [this] { MenuViewPreviousDayClick(); });
  connect(nextDay_, &QAction::triggered, this, [this] { MenuViewNextDayClick(); });

  previousAtEnd_ = new QShortcut(Qt::Key_PageUp, &form_);
  nextAtEnd_ = new QShortcut(Qt::Key_PageDown, &form_);
  connect(previousAtEnd_, &QShortcut::activated, this, [this] { Step(-1); });
  connect(nextAtEnd_, &QShortcut::activated, this, [this] { Step(+1); });
}

void TFormMainDays::Step(int step)
{
  TWorkflow& workflow = form_.Workflow();
  workflow.SetDisplayOptions(form_.CurrentDisplayOptions());
  std::optional<QDate> day;
  {
    const TBusyCursor busy;
    day = StepDay(workflow, step);
  }
  if (!day) {
    form_.statusBar()->showMessage(step < 0 ? kNoEarlierDay : kNoLaterDay, kStatusMsec);
    return;
  }
  form_.statusBar()->clearMessage();
}

void TFormMainDays::UpdateItems()
{
  const QString source = PagingSource(form_.Workflow());
  if (source == checkedSource_ && !source.isEmpty()) {
    return;
  }
  checkedSource_ = source;
  const bool earlier = FindNeighbourDay(source, -1).has_value();
  const bool later = FindNeighbourDay(source, +1).has_value();
  previousDay_->setEnabled(earlier);
  nextDay_->setEnabled(later);
  // One of a key's two handlers listens at a time.
  previousAtEnd_->setEnabled(!earlier);
  nextAtEnd_->setEnabled(!later);
}
