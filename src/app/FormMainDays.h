#pragma once
// The main window's paging through the days: View, Previous day (Page Up)
// and Next day (Page Down) load the products of the nearest earlier or
// later day of the data tree. At either end of the tree its item is
// disabled, and its key only says so in the status bar. It attaches
// itself to the window as a child object.
#include <QObject>
#include <QString>

class QAction;
class QShortcut;
class TFormMain;

class TFormMainDays : public QObject {
  Q_OBJECT

public:
  static constexpr char kNoEarlierDay[] = "No earlier day in the data tree";
  static constexpr char kNoLaterDay[] = "No later day in the data tree";

  explicit TFormMainDays(TFormMain& form);

  // The one attached to a window, or null.
  static TFormMainDays* Of(const TFormMain& form);

  void MenuViewPreviousDayClick() { Step(-1); }
  void MenuViewNextDayClick() { Step(+1); }

  QAction& PreviousDay() { return *previousDay_; }
  QAction& NextDay() { return *nextDay_; }

private:
  void BuildMenu();
  void Step(int step);
  // Enables each item when a day lies that way of what is shown.
  void UpdateItems();

  TFormMain& form_;
  QAction* previousDay_ = nullptr;
  QAction* nextDay_ = nullptr;
  // The keys while their item is disabled.
  QShortcut* previousAtEnd_ = nullptr;
  QShortcut* nextAtEnd_ = nullptr;
  QString checkedSource_;
};
