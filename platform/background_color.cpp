#include "platform/background_color.h"

#include <QColor>
#include <QVariant>
#include <QWidget>

namespace ms1 {

void SetBackgroundColor(QWidget* control, QRgb argb) {
  if (control == nullptr) return;
  control->setProperty("background_color", QVariant::fromValue(static_cast<uint>(argb)));
  control->setStyleSheet(
      QStringLiteral("background-color: %1;").arg(QColor::fromRgb(argb).name(QColor::HexRgb)));
}

QRgb BackgroundColor(const QWidget* control) {
  return control == nullptr ? 0 : control->property("background_color").toUInt();
}

}  // namespace ms1
