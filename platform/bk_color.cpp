#include "platform/bk_color.h"

#include <QColor>
#include <QVariant>
#include <QWidget>

namespace ms1 {

void SetBkColor(QWidget* control, QRgb argb) {
  if (control == nullptr) return;
  control->setProperty("bkcolor", QVariant::fromValue(static_cast<uint>(argb)));
  control->setStyleSheet(
      QStringLiteral("background-color: %1;").arg(QColor::fromRgb(argb).name(QColor::HexRgb)));
}

QRgb BkColor(const QWidget* control) {
  return control == nullptr ? 0 : control->property("bkcolor").toUInt();
}

}  // namespace ms1
