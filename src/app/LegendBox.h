#pragma once
// The colour key beside the picture: class squares with their names, or the
// SST colour bar with degree ticks.
#include <QWidget>

#include "app/workflow/Workflow.h"

class TLegendBox : public QWidget {
  Q_OBJECT

public:
  static constexpr int kWidth = 129;
  static constexpr int kHeight = 289;

  explicit TLegendBox(QWidget* parent = nullptr);
  void SetLegend(TLegend legend);
  const TLegend& Legend() const { return legend_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  TLegend legend_;
};
