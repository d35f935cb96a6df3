// The mouse wheel over a value control (a slider, a combo box) changes it only
// while the control has keyboard focus. Otherwise the wheel goes on to what
// lies around the control, so scrolling a column of settings scrolls the
// column instead of changing (and sending) whatever passes under the pointer.
#pragma once

class QWidget;

namespace ms1 {

// Null-safe. A control that took focus from the wheel alone now takes it by
// click or tab only, or the first turn of the wheel would still reach it.
void RequireFocusForWheel(QWidget* control);

}  // namespace ms1
