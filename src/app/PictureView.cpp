#include "app/PictureView.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstring>

QImage ImageFromBitmap(const TExtBitmap& bitmap)
{
  if (bitmap.Empty()) {
    return {};
  }
  if (bitmap.PixelFormat() != TPixelFormat::pf8bit) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.Height(); ++y) {
      std::memcpy(image.scanLine(y), bitmap.ScanLine(y), static_cast<std::size_t>(bitmap.RowBytes()));
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

void TPictureView::paintEvent(QPaintEvent*)
{
  if (image_.isNull()) {
    return;
  }
  QPainter painter(this);
  painter.drawImage(rect(), image_);
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
