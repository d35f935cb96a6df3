// A control's background colour, set the way the skin's style sheet lets it
// show; the colour is also kept in the control's "bkcolor" property so that it
// can be read back.
#pragma once

#include <QRgb>

class QWidget;

namespace ms1 {

// Null-safe: a control the layout lacks is left alone.
void SetBkColor(QWidget* control, QRgb argb);

// The colour last set with SetBkColor; 0 when none was.
QRgb BkColor(const QWidget* control);

}  // namespace ms1
