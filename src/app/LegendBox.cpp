#include "app/LegendBox.h"

#include <QPainter>

namespace {

QColor ToColor(TRgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// Length of a tick and where its label starts.
constexpr int kTickLength = 26;
constexpr int kTickTextX = 30;
constexpr int kBarWidth = 24;
constexpr int kNameGap = 5;

}  // namespace

TLegendBox::TLegendBox(QWidget* parent) : QWidget(parent)
{
  setObjectName("PaintBoxScale");
  setFixedSize(kWidth, kHeight);
}

void TLegendBox::SetLegend(TLegend legend)
{
  legend_ = std::move(legend);
  update();
}

void TLegendBox::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  const QFontMetrics metrics(font());
  int y = 0;
  for (const TLegendRow& row : legend_.Rows) {
    painter.fillRect(QRect(0, y, kLegendRowSize, kLegendRowSize), ToColor(row.Colour));
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = y + (kLegendRowSize - metrics.height()) / 2;
    painter.drawText(QPoint(kLegendRowSize + kNameGap, top + metrics.ascent()), row.Name);
    y += kLegendRowSize;
  }
  for (int row = 0; row < static_cast<int>(legend_.BarRows.size()); ++row) {
    if (const auto& colour = legend_.BarRows[static_cast<std::size_t>(row)]) {
      painter.setPen(ToColor(*colour));
      painter.drawLine(0, row, kBarWidth - 1, row);  // end point excluded, as the canvas draws
    }
  }
  for (const TLegendTick& tick : legend_.Ticks) {
    painter.setPen(Qt::black);
    painter.drawLine(0, tick.Y, kTickLength - 1, tick.Y);
    const int top = tick.Y - metrics.height() / 2;
    if (top >= 0) {
      painter.drawText(QPoint(kTickTextX, top + metrics.ascent()), tick.Text);
    }
  }
}
