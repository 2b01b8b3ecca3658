#pragma once
// The picture of the selected product: an 8-bit palette image shown either
// at one screen pixel per picture pixel or stretched to a given size. Mouse
// positions are reported in picture pixels.
#include <QImage>
#include <QWidget>

#include "grib/ExtBitmap.h"

// The bitmap as a QImage of 8-bit indices with all 256 palette entries.
QImage ImageFromBitmap(const TExtBitmap& bitmap);

class TPictureView : public QWidget {
  Q_OBJECT

public:
  explicit TPictureView(QWidget* parent = nullptr);

  void SetBitmap(const TExtBitmap& bitmap);
  const QImage& Image() const { return image_; }

  bool Stretched() const { return stretched_; }
  // Natural size (false) or the picture stretched to `size` (true).
  void SetStretched(bool stretched, QSize size = {});

signals:
  void MouseMovedOnPicture(int x, int y);
  void MouseLeftPicture();
  void Clicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  void ApplySize();

  QImage image_;  // the picture as it is: 8-bit indices and palette
  QImage shown_;  // the same in the screen's format
  bool stretched_ = false;
  QSize stretchSize_;
};
