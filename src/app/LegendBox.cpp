#include "app/LegendBox.h"

#include <QPainter>

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
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  PaintLegend(painter, legend_);
}
