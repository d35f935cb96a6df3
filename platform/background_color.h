// A control's background colour, set the way the skin's style sheet lets it
// show; the colour is also kept in the control's "background_color" property so that it
// can be read back.
#pragma once

#include <QRgb>

class QWidget;

namespace ms1 {

// Null-safe: a control the layout lacks is left alone.
void SetBackgroundColor(QWidget* control, QRgb argb);

// The colour last set with SetBackgroundColor; 0 when none was.
QRgb BackgroundColor(const QWidget* control);

}  // namespace ms1
