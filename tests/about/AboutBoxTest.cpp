// The about box: what it shows from the generated version header, and the
// address its web-site label opens.
#include "about/AboutBox.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "Version.h"

namespace {

TEST(WebSiteAddress, AddsTheSchemeOnlyWhenMissing)
{
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"   ", ""},
      {"www.brenmark.example", "http://www.brenmark.example"},
      {"http://www.brenmark.example/x", "http://www.brenmark.example/x"},
      {"see http://www.brenmark.example", "see http://www.brenmark.example"},
      {"https://www.brenmark.example", "https://www.brenmark.example"},
  };
  for (const auto& [text, address] : cases) EXPECT_EQ(WebSiteAddress(text), address) << text;
}

// Catches the URLs the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> Opened;
public slots:
  void Open(const QUrl& url) { Opened.append(url); }
};

TEST(AboutBox, ShowsNameVersionAndBuildDateFromTheBuild)
{
  TAboutBox box;
  EXPECT_EQ(box.findChild<QLabel*>("ProductName")->text(), norvant::kProgramName);
  const QString version = box.findChild<QLabel*>("Version")->text();
  EXPECT_TRUE(version.contains(QString(", V") + norvant::kVersion + ", ")) << version.toStdString();
  EXPECT_TRUE(version.endsWith(BuildDateText(norvant::kBuildDate))) << version.toStdString();
}

TEST(AboutBox, ClickingTheWebSiteOpensItsAddress)
{
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("http", &catcher, "Open");
  {
    TAboutBox box(nullptr, TVersionInfo{"Norvant", "1.2.3", "2026-Dec-06", "(c)", "www.brenmark.example"});
    box.show();
    QTest::mouseClick(box.findChild<QLabel*>("WebSite"), Qt::LeftButton);
  }
  QDesktopServices::unsetUrlHandler("http");
  ASSERT_EQ(catcher.Opened.size(), 1);
  EXPECT_EQ(catcher.Opened.first(), QUrl("http://www.brenmark.example"));
}

}  // namespace

#include "AboutBoxTest.moc"
