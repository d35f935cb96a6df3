#include "platform/color_palette.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ms1 {
namespace {
constexpr int kHueHeight = 14;
constexpr int kGap = 6;
}  // namespace

ColorPalette::ColorPalette(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::CrossCursor);
  setMinimumSize(80, 60);
}

void ColorPalette::SetSelectColor(QRgb argb) {
  color_ = QColor::fromRgb(qRed(argb), qGreen(argb), qBlue(argb));
  // Greys have no hue of their own: keep the strip where it was.
  if (color_.hsvHue() >= 0) hue_ = color_.hsvHue();
  update();
}

QRect ColorPalette::FieldRect() const {
  return QRect(0, 0, width(), std::max(1, height() - kHueHeight - kGap));
}

QRect ColorPalette::HueRect() const {
  return QRect(0, height() - kHueHeight, width(), kHueHeight);
}

void ColorPalette::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect field = FieldRect();
  QLinearGradient saturation(field.topLeft(), field.topRight());
  saturation.setColorAt(0, Qt::white);
  saturation.setColorAt(1, QColor::fromHsv(hue_, 255, 255));
  painter.fillRect(field, saturation);
  QLinearGradient value(field.topLeft(), field.bottomLeft());
  value.setColorAt(0, QColor(0, 0, 0, 0));
  value.setColorAt(1, Qt::black);
  painter.fillRect(field, value);

  const QRect hue = HueRect();
  QLinearGradient hues(hue.topLeft(), hue.topRight());
  for (int step = 0; step <= 6; ++step)
    hues.setColorAt(step / 6.0, QColor::fromHsv(step * 60 % 360, 255, 255));
  painter.fillRect(hue, hues);

  const int x = field.left() + color_.hsvSaturation() * (field.width() - 1) / 255;
  const int y = field.top() + (255 - color_.value()) * (field.height() - 1) / 255;
  painter.setPen(QPen(color_.value() > 128 ? Qt::black : Qt::white, 1.5));
  painter.drawEllipse(QPoint(x, y), 5, 5);
  const int hx = hue.left() + hue_ * (hue.width() - 1) / 359;
  painter.setPen(QPen(Qt::white, 2));
  painter.drawRect(QRect(hx - 2, hue.top(), 4, hue.height()));
}

void ColorPalette::mousePressEvent(QMouseEvent* event) {
  dragging_hue_ = HueRect().contains(event->position().toPoint());
  PickAt(event->position().toPoint());
}

void ColorPalette::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) PickAt(event->position().toPoint());
}

void ColorPalette::PickAt(QPoint point) {
  if (dragging_hue_) {
    const QRect hue = HueRect();
    hue_ = std::clamp((point.x() - hue.left()) * 359 / std::max(1, hue.width() - 1), 0, 359);
    color_ = QColor::fromHsv(hue_, color_.hsvSaturation(), color_.value());
  } else {
    const QRect field = FieldRect();
    const int s =
        std::clamp((point.x() - field.left()) * 255 / std::max(1, field.width() - 1), 0, 255);
    const int v =
        255 - std::clamp((point.y() - field.top()) * 255 / std::max(1, field.height() - 1), 0, 255);
    color_ = QColor::fromHsv(hue_, s, v);
  }
  update();
  emit colorChanged(color_.rgba());
}

}  // namespace ms1
