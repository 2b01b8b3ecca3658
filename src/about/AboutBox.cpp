#include "about/AboutBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent, TVersionInfo info) : QDialog(parent), info_(std::move(info))
{
  setObjectName("AboutBox");
  setWindowTitle("About " + info_.ProductName);
  auto* layout = new QVBoxLayout(this);
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  auto* grid = new QGridLayout(panel);

  auto* icon = new QLabel(panel);
  icon->setObjectName("ProgramIcon");
  QIcon programIcon = QApplication::windowIcon();
  if (programIcon.isNull()) {
    programIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
  }
  icon->setPixmap(programIcon.pixmap(32, 32));
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);

  auto* name = new QLabel(info_.ProductName, panel);
  name->setObjectName("ProductName");
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  grid->addWidget(name, 0, 1);

  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  auto* version = new QLabel(QString("%1, V%2, %3").arg(program, info_.FileVersion, info_.BuildDate), panel);
  version->setObjectName("Version");
  grid->addWidget(version, 1, 1);

  auto* copyright = new QLabel(info_.LegalCopyright, panel);
  copyright->setObjectName("Copyright");
  grid->addWidget(copyright, 2, 0, 1, 2);

  auto* comments = new QLabel("A viewer for polar sea-ice and sea-surface-temperature analyses.", panel);
  comments->setObjectName("Comments");
  grid->addWidget(comments, 3, 0, 1, 2);

  webSite_ = new QLabel(info_.WebSite, panel);
  webSite_->setObjectName("WebSite");
  QFont underlined = webSite_->font();
  underlined.setUnderline(true);
  webSite_->setFont(underlined);
  webSite_->setStyleSheet("color: rgb(0, 0, 128);");
  webSite_->setCursor(Qt::PointingHandCursor);
  webSite_->setAlignment(Qt::AlignRight);
  webSite_->installEventFilter(this);
  grid->addWidget(webSite_, 4, 0, 1, 2);
  layout->addWidget(panel);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("ButtonOK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

bool TAboutBox::WebSiteClick()
{
  const QString address = WebSiteAddress(webSite_->text());
  if (address.isEmpty()) {
    return false;
  }
  return QDesktopServices::openUrl(QUrl(address));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == webSite_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    WebSiteClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
