#include "app/PictureView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cstring>

QImage ImageFromBitmap(const TExtBitmap& bitmap)
{
  if (bitmap.Empty()) {
    return {};
  }
  if (bitmap.PixelFormat() == TPixelFormat::pf24bit) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.Height(); ++y) {
      std::memcpy(image.scanLine(y), bitmap.ScanLine(y), static_cast<std::size_t>(bitmap.RowBytes()));
    }
    return image;
  }
  if (bitmap.PixelFormat() == TPixelFormat::pf32bit) {
    // Red, green, blue and an unused byte, which must not become the alpha.
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
      const std::uint8_t* source = bitmap.ScanLine(y);
      auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < bitmap.Width(); ++x, source += 4) {
        target[x] = qRgb(source[0], source[1], source[2]);
      }
    }
    return image;
  }
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_Indexed8);
  QList<QRgb> colours;
  colours.reserve(256);
  for (const TRgb& entry : bitmap.Palette()) {
    colours.append(qRgb(entry.r, entry.g, entry.b));
  }
  image.setColorTable(colours);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(image.scanLine(y), bitmap.ScanLine(y), static_cast<std::size_t>(bitmap.Width()));
  }
  return image;
}

TPictureView::TPictureView(QWidget* parent) : QWidget(parent)
{
  setMouseTracking(true);
  setObjectName("ImageDisplay");
  ApplySize();
}

void TPictureView::SetBitmap(const TExtBitmap& bitmap)
{
  image_ = ImageFromBitmap(bitmap);
  // Converted once here rather than on every repaint while scrolling.
  shown_ = image_.isNull() ? QImage() : image_.convertToFormat(QImage::Format_RGB32);
  ApplySize();
  update();
}

void TPictureView::SetStretched(bool stretched, QSize size)
{
  stretched_ = stretched;
  stretchSize_ = size;
  ApplySize();
  update();
}

void TPictureView::ApplySize()
{
  setFixedSize(stretched_ ? stretchSize_ : image_.size());
}

void TPictureView::paintEvent(QPaintEvent* event)
{
  if (shown_.isNull()) {
    return;
  }
  QPainter painter(this);
  if (stretched_) {
    painter.drawImage(rect(), shown_);
  } else {
    painter.drawImage(event->rect().topLeft(), shown_, event->rect());
  }
}

void TPictureView::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint at = event->position().toPoint();
  emit MouseMovedOnPicture(at.x(), at.y());
}

void TPictureView::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton) {
    emit Clicked();
  }
}

void TPictureView::leaveEvent(QEvent*) { emit MouseLeftPicture(); }
