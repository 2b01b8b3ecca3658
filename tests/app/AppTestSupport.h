#pragma once
// Settings of the viewer's own tests: a fresh program key per test and no
// stored images folder of the data collector unless a test plants one.
#include "settings/SettingsTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <functional>

class ViewerSettingsTest : public TemporarySettings {
protected:
  void SetUp() override
  {
    TemporarySettings::SetUp();
    ClearSiblings();
  }
  void TearDown() override
  {
    ClearSiblings();
    TemporarySettings::TearDown();
  }
  static void ClearSiblings()
  {
    for (const char* program : {"Feedkeeper-P", "Feedkeeper"}) {
      auto settings = OpenVendorSettings(program);
      settings->clear();
      settings->sync();
    }
  }
};

// Answers the modal boxes a window opens: message boxes are accepted and
// their texts and icons kept; other dialogs go to `onDialog`.
class ModalAnswerer {
public:
  ModalAnswerer()
  {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  QStringList Texts;
  QList<QMessageBox::Icon> Icons;
  std::function<void(QDialog&)> onDialog;

private:
  void Answer()
  {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      Texts.append(box->text());
      Icons.append(box->icon());
      box->accept();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && onDialog) {
      auto handler = std::move(onDialog);
      onDialog = nullptr;
      handler(*dialog);
    }
  }
  QTimer timer_;
};
