#pragma once
// A headless workflow with its own settings, grid and boundaries off, and a
// scratch folder for files a test makes.
#include "app/AppTestSupport.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

class WorkflowFixture : public ViewerSettingsTest {
protected:
  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    settings = std::make_unique<TViewerSettings>();
    workflow = std::make_unique<TWorkflow>(*settings, messages);
    TDisplayOptions options;
    options.ShowGrid = false;
    options.ShowBoundaries = false;
    workflow->SetDisplayOptions(options);
  }
  void TearDown() override
  {
    workflow.reset();
    settings.reset();
    ViewerSettingsTest::TearDown();
  }

  QString Name(int product) const { return QFileInfo(workflow->FileName(product)).fileName(); }

  QString Scratch(const QString& name) const { return scratch_.filePath(name); }
  void CopyInto(const QString& from, const QString& name) const { QFile::copy(from, Scratch(name)); }
  void WriteBytes(const QString& name, const QByteArray& bytes) const
  {
    QFile file(Scratch(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray ReadBytes(const QString& path)
  {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  TCollectingMessageSink messages;
  std::unique_ptr<TViewerSettings> settings;
  std::unique_ptr<TWorkflow> workflow;

private:
  QTemporaryDir scratch_;
};
