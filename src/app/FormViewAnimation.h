#pragma once
// TFormViewAnimation: plays an animated GIF with its own frame delays and
// looping, scaled down with its proportions kept when it would not fit on
// the screen.
#include <QDialog>
#include <QSize>
#include <QStringList>

class QLabel;
class QMovie;

// The size the animation is shown at: its own when it fits into
// `available`, else scaled down by the larger of the two ratios, each side
// rounded to the nearest pixel.
QSize AnimationDisplaySize(QSize animation, QSize available);

class TFormViewAnimation : public QDialog {
  Q_OBJECT

public:
  explicit TFormViewAnimation(QWidget* parent = nullptr);
  ~TFormViewAnimation() override;

  // Loads the file and sizes the window to it; false (and nothing shown)
  // when the file cannot be read as an animation.
  bool ShowAnimation(const QString& fileName);
  // Texts shown under the picture, one per frame (the sea-ice figures of
  // a concentration animation); none hides the line.
  void SetFrameTexts(QStringList texts);

  QMovie& Movie() { return *movie_; }
  QLabel& ImageAnimation() { return *imageAnimation_; }
  QString LastError() const { return lastError_; }

private:
  QSize AvailableSize() const;

  void ShowFrameText(int frame);

  QLabel* imageAnimation_ = nullptr;
  QLabel* labelFrame_ = nullptr;
  QStringList frameTexts_;
  QMovie* movie_ = nullptr;
  QString lastError_;
};
