// Test helper: one notch of the mouse wheel as the window system delivers it.
#pragma once

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

namespace ms1::test {

// One notch down over the middle of `target`. Spontaneous, as from the window
// system, so that Qt offers an unaccepted wheel to the parents in turn.
inline void TurnWheelOver(QWidget* target) {
  const QPointF local(target->width() / 2.0, target->height() / 2.0);
  QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&wheel);
  QApplication::instance()->notify(target, &wheel);
}

}  // namespace ms1::test
