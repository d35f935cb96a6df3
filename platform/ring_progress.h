// A progress control drawn as a ring with its text in the middle; used for the
// battery level and its charging animation.
#pragma once

#include <QProgressBar>

namespace ms1 {

class RingProgress : public QProgressBar {
  Q_OBJECT
 public:
  explicit RingProgress(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {64, 64}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace ms1
