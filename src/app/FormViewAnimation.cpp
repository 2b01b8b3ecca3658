#include "app/FormViewAnimation.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QScreen>
#include <QStyle>

#include <cmath>

QSize AnimationDisplaySize(QSize animation, QSize available)
{
  if (animation.isEmpty() || available.isEmpty()) {
    return animation;
  }
  if (animation.width() <= available.width() && animation.height() <= available.height()) {
    return animation;
  }
  const double factor = std::max(static_cast<double>(animation.width()) / available.width(),
                                 static_cast<double>(animation.height()) / available.height());
  return QSize(std::max(1, static_cast<int>(std::lround(animation.width() / factor))),
               std::max(1, static_cast<int>(std::lround(animation.height() / factor))));
}

TFormViewAnimation::TFormViewAnimation(QWidget* parent) : QDialog(parent)
{
  setObjectName("FormViewAnimation");
  setWindowTitle("Sea-ice animation");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(QApplication::font());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  imageAnimation_ = new QLabel(this);
  imageAnimation_->setObjectName("ImageAnimation");
  imageAnimation_->setAlignment(Qt::AlignCenter);
  layout->addWidget(imageAnimation_);
  labelFrame_ = new QLabel(this);
  labelFrame_->setObjectName("LabelFrameFigures");
  labelFrame_->setAlignment(Qt::AlignCenter);
  labelFrame_->hide();
  layout->addWidget(labelFrame_);
  movie_ = new QMovie(this);
  imageAnimation_->setMovie(movie_);
  connect(movie_, &QMovie::frameChanged, this, &TFormViewAnimation::ShowFrameText);
}

void TFormViewAnimation::SetFrameTexts(QStringList texts)
{
  frameTexts_ = std::move(texts);
  labelFrame_->setVisible(!frameTexts_.isEmpty());
  ShowFrameText(movie_->currentFrameNumber());
}

void TFormViewAnimation::ShowFrameText(int frame) { labelFrame_->setText(frameTexts_.value(frame)); }

TFormViewAnimation::~TFormViewAnimation() { movie_->stop(); }

QSize TFormViewAnimation::AvailableSize() const
{
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
  if (screen == nullptr) {
    screen = QGuiApplication::primaryScreen();
  }
  if (screen == nullptr) {
    return {};
  }
  // The window's frame and caption take their share of the work area.
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QRect area = screen->availableGeometry();
  return QSize(area.width() - 2 * frame, area.height() - 2 * frame - caption);
}

bool TFormViewAnimation::ShowAnimation(const QString& fileName)
{
  movie_->stop();
  movie_->setFileName(fileName);
  if (!movie_->isValid()) {
    lastError_ = QString("Cannot show %1: %2").arg(fileName, QImageReader(fileName).errorString());
    return false;
  }
  lastError_.clear();
  const QSize natural = QImageReader(fileName).size();
  const QSize shown = AnimationDisplaySize(natural, AvailableSize());
  movie_->setScaledSize(shown == natural ? QSize() : shown);
  imageAnimation_->setFixedSize(shown);
  adjustSize();
  setFixedSize(sizeHint());
  movie_->start();
  return true;
}
