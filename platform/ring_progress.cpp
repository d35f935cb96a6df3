#include "platform/ring_progress.h"

#include <QPainter>
#include <algorithm>

namespace ms1 {

RingProgress::RingProgress(QWidget* parent) : QProgressBar(parent) {
  setTextVisible(true);
  setRange(0, 100);
}

void RingProgress::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 8;
  const QRectF ring((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  const qreal thickness = std::max(3.0, side / 10.0);

  QPen track(palette().color(QPalette::Base), thickness, Qt::SolidLine, Qt::RoundCap);
  painter.setPen(track);
  painter.drawEllipse(ring);

  const int span = maximum() > minimum() ? maximum() - minimum() : 1;
  const double share = std::clamp(double(value() - minimum()) / span, 0.0, 1.0);
  if (share > 0) {
    QPen arc(palette().color(QPalette::Highlight), thickness, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(arc);
    painter.drawArc(ring, 90 * 16, -static_cast<int>(share * 360 * 16));
  }
  if (isTextVisible()) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, text());
  }
}

}  // namespace ms1
