#include "platform/elided_text.h"

#include <QPainter>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>

namespace ms1 {
namespace {

// The tool tip this style gave the control; a tool tip of the control's own
// is never replaced.
constexpr char kElidedTip[] = "ms1elidedtip";

void ShowWholeTextAsTip(QWidget& control, const QString& whole) {
  const QString given = control.property(kElidedTip).toString();
  if (!control.toolTip().isEmpty() && control.toolTip() != given) return;
  if (given == whole) return;
  control.setToolTip(whole);
  control.setProperty(kElidedTip, whole.isEmpty() ? QVariant() : QVariant(whole));
}

// A wrapping text cut after the last line that fits the height, which then
// ends with "…".
QString ElideLines(const QString& text, const QFont& font, const QRect& rect) {
  const QFontMetrics metrics(font);
  const int fitting = std::max(1, rect.height() / metrics.lineSpacing());
  QTextLayout layout(text, font);
  layout.beginLayout();
  int last_start = -1;
  for (int n = 0; n < fitting; ++n) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(rect.width());
    last_start = line.textStart();
  }
  const bool more = layout.createLine().isValid();
  layout.endLayout();
  if (!more || last_start < 0) return text;
  return text.left(last_start) +
         metrics.elidedText(text.mid(last_start), Qt::ElideRight, rect.width());
}

}  // namespace

void ElidingStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                const QPalette& palette, bool enabled, const QString& text,
                                QPalette::ColorRole role) const {
  QString shown = text;
  const QFontMetrics metrics = painter->fontMetrics();
  if ((flags & Qt::TextWordWrap) != 0) {
    if (metrics.boundingRect(rect, flags, text).height() > rect.height()) {
      shown = ElideLines(text, painter->font(), rect);
    }
  } else if (!text.contains(u'\n') && metrics.horizontalAdvance(text) > rect.width()) {
    shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
  }
  // Painting a control: the painter's device is the control itself.
  if (auto* control = dynamic_cast<QWidget*>(painter->device())) {
    ShowWholeTextAsTip(*control, shown == text ? QString() : text);
  }
  QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, shown, role);
}

}  // namespace ms1
