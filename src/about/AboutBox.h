#pragma once
// The about box: name, version, build date, copyright and web address.
#include <QDialog>

#include "about/VersionInfo.h"

class QLabel;

class TAboutBox : public QDialog {
  Q_OBJECT

public:
  explicit TAboutBox(QWidget* parent = nullptr, TVersionInfo info = ProgramVersionInfo());

  // Opens the web address in the desktop's browser; false when there is none
  // or the desktop could not open it.
  bool WebSiteClick();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TVersionInfo info_;
  QLabel* webSite_ = nullptr;
};
