#include "platform/ring_progress.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace ms1 {
namespace {

// A frame as an 8-bit image with its own colour table, when it has no more
// than 256 colours (a ring on a plain backdrop has a few dozen): every pixel
// the same at a quarter of the memory, which counts for a sweep of fifty
// frames kept all session.
QImage CompactFrame(const QImage& frame) {
  QHash<QRgb, uchar> index;
  QList<QRgb> colors;
  QImage compact(frame.size(), QImage::Format_Indexed8);
  for (int y = 0; y < frame.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
    uchar* out = compact.scanLine(y);
    for (int x = 0; x < frame.width(); ++x) {
      auto found = index.constFind(in[x]);
      if (found == index.cend()) {
        if (colors.size() == 256) return frame;
        found = index.insert(in[x], static_cast<uchar>(colors.size()));
        colors.append(in[x]);
      }
      out[x] = *found;
    }
  }
  compact.setColorTable(colors);
  compact.setDevicePixelRatio(frame.devicePixelRatio());
  return compact;
}

}  // namespace

RingProgress::RingProgress(QWidget* parent) : QProgressBar(parent) {
  setTextVisible(true);
  setRange(0, 100);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void RingProgress::SetValueDeferred(int value) {
  // QProgressBar::setValue repaints at once unless updates are off.
  setUpdatesEnabled(false);
  setValue(value);
  setUpdatesEnabled(true);  // schedules the paint
}

bool RingProgress::event(QEvent* event) {
  const bool handled = QProgressBar::event(event);
  switch (event->type()) {
    case QEvent::Polish:
    case QEvent::StyleChange:
      // A style sheet's polish takes opaqueness away from any widget with an
      // outline or padding rule, though the ring paints every pixel all the same.
      setAttribute(Qt::WA_OpaquePaintEvent);
      frames_.clear();
      break;
    case QEvent::Resize:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
      frames_.clear();
      break;
    default:
      break;
  }
  return handled;
}

void RingProgress::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (isTextVisible()) {
    DrawRing(painter);
    return;
  }
  QImage& frame = frames_[value()];
  if (frame.isNull()) {
    const qreal ratio = devicePixelRatioF();
    QImage drawn(size() * ratio, QImage::Format_RGB32);
    drawn.setDevicePixelRatio(ratio);
    {
      QPainter framePainter(&drawn);
      DrawRing(framePainter);
    }
    frame = CompactFrame(drawn);
  }
  painter.drawImage(0, 0, frame);
}

void SetValueDeferred(QProgressBar* bar, int value) {
  if (auto* ring = qobject_cast<RingProgress*>(bar)) {
    ring->SetValueDeferred(value);
  } else {
    bar->setValue(value);
  }
}

void RingProgress::DrawRing(QPainter& painter) const {
  painter.fillRect(rect(), palette().window());
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
