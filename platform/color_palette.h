// The colour palette control of the colour dialog: a saturation/value field for
// the current hue above a hue strip. Raises colorChanged while the user picks.
#pragma once

#include <QColor>
#include <QWidget>

namespace ms1 {

class ColorPalette : public QWidget {
  Q_OBJECT
 public:
  explicit ColorPalette(QWidget* parent = nullptr);

  // Alpha-red-green-blue; the palette itself keeps alpha 0xFF.
  void SetSelectColor(QRgb argb);
  QRgb SelectColor() const { return color_.rgba(); }

  QSize sizeHint() const override { return {160, 120}; }

 signals:
  void colorChanged(QRgb argb);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QRect FieldRect() const;
  QRect HueRect() const;
  void PickAt(QPoint point);

  QColor color_ = QColor::fromHsv(0, 255, 255);
  int hue_ = 0;
  bool dragging_hue_ = false;
};

}  // namespace ms1
