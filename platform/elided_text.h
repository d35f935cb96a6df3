// Texts too wide for their controls. The skin's windows have fixed sizes and
// a translation may be longer than the English text they were laid out for:
// a one-line text that does not fit the room its control gives it is drawn
// cut at its end with "…", a wrapping one after its last line that fits, and
// the control's tool tip then shows it whole. Texts that fit are drawn as
// they are.
#pragma once

#include <QProxyStyle>

namespace ms1 {

class ElidingStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                    bool enabled, const QString& text,
                    QPalette::ColorRole role = QPalette::NoRole) const override;
};

}  // namespace ms1
