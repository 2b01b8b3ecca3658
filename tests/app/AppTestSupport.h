#pragma once
// Settings of the viewer's own tests: a fresh program key per test and no
// stored images folder of the data collector unless a test plants one.
#include "settings/SettingsTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/FormMain.h"

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
// their texts kept; other dialogs go to `onDialog`.
class ModalAnswerer {
public:
  ModalAnswerer()
  {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  QStringList Texts;
  std::function<void(QDialog&)> onDialog;

private:
  void Answer()
  {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      Texts.append(box->text());
      box->accept();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && onDialog) {
      auto handler = std::move(onDialog);
      onDialog = nullptr;
      handler(*dialog);
    }
  }
  QTimer timer_;
};

// The main window, shown on the offscreen platform.
inline std::unique_ptr<TFormMain> StartWindow(QStringList arguments = {}, const QString& imagesPath = {})
{
  auto window = std::make_unique<TFormMain>(std::move(arguments), imagesPath);
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  return window;
}

// A named child of a window or dialog; a failure when there is none.
template <class T>
T* Child(const QWidget& parent, const char* name)
{
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Chooses a menu item, as a click on it would.
inline void Trigger(const QWidget& window, const char* action)
{
  QAction* item = window.findChild<QAction*>(action);
  ASSERT_NE(item, nullptr) << action;
  ASSERT_TRUE(item->isEnabled()) << action;
  item->trigger();
}
