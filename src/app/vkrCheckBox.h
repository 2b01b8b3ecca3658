#pragma once
// A check box that remembers whether it was ticked between runs, under its
// NamedAs name (or its object name when that is empty).
#include "settings/RememberedCheckState.h"

#include <QCheckBox>

class TvkrCheckBox : public QCheckBox {
  Q_OBJECT
  Q_PROPERTY(QString NamedAs READ NamedAs WRITE SetNamedAs)

public:
  explicit TvkrCheckBox(QWidget* parent = nullptr);
  TvkrCheckBox(const QString& text, const QString& namedAs, QWidget* parent = nullptr);
  ~TvkrCheckBox() override; // stores the state when it was loaded

  QString NamedAs() const { return namedAs_; }
  void SetNamedAs(const QString& name) { namedAs_ = name; }

  // Call once the box is named and its initial state set: takes the remembered
  // state without emitting any signal, so handlers connected to the box do
  // not run for the restore. From then on every change is stored at once.
  // Only the first call has an effect.
  void Loaded();

private:
  QString namedAs_;
  TRememberedCheckState setting_;
};
