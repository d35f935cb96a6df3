// A progress control drawn as a ring with its text in the middle; used for the
// battery level and its charging animation. It paints every pixel of its own,
// over its palette's window colour (the skin sets it to the panel's colour), so
// that a new value repaints the ring alone and not the page behind it.
#pragma once

#include <QHash>
#include <QImage>
#include <QProgressBar>

namespace ms1 {

class RingProgress : public QProgressBar {
  Q_OBJECT
 public:
  explicit RingProgress(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {64, 64}; }

  // setValue, painted with the next pass of the event loop rather than at
  // once: a value a tick, as in an animation, then costs one paint and no
  // wait for the window system.
  void SetValueDeferred(int value);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawRing(QPainter& painter) const;

  // Frames without text by value: an animation repeats the same few.
  QHash<int, QImage> frames_;
};

// setValue; a RingProgress paints the value with the next pass of the event loop.
void SetValueDeferred(QProgressBar* bar, int value);

}  // namespace ms1
