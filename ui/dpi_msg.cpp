#include "ui/dpi_msg.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace ms1 {

CDPIMsg::CDPIMsg(QWidget* owner) : SkinWindow(owner) {
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                 Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_DeleteOnClose);
}

QRect CDPIMsg::PlaceIn(const QRect& workArea) {
  // 10 pixels from the work area's right and bottom edges, wherever it starts.
  return QRect(workArea.left() + workArea.width() - 210, workArea.top() + workArea.height() - 60,
               200, 50);
}

void CDPIMsg::InitWindow() {
  auto* label = FindControl<QLabel>(QStringLiteral("dpi_label"));
  if (label == nullptr) return;
  label->setText(text);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect place = PlaceIn(screen->availableGeometry());
    setFixedSize(place.size());
    move(place.topLeft());
  }
}

void CDPIMsg::SetText(const QString& newText) {
  text = newText;
  if (auto* label = FindControl<QLabel>(QStringLiteral("dpi_label"))) label->setText(text);
}

}  // namespace ms1
