// A timer that only drives what a control shows has nothing to do while the
// control cannot be seen: it is stopped while the control is hidden (itself,
// a section around it, or its window, also by minimising) and started again
// when the control is shown.
#pragma once

class QObject;
class QTimer;
class QWidget;

namespace ms1 {

// Applies at once (a control not seen now stops the timer) and until the
// returned guard, a child of the timer, is deleted; deleting it leaves the
// timer as it is.
QObject* PauseWhileUnseen(QTimer& timer, QWidget& control);

// Whether the control can be seen now.
bool IsSeen(const QWidget& control);

}  // namespace ms1
