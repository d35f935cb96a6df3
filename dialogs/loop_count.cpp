#include "dialogs/loop_count.h"

namespace ms1 {

QString LoopCountDigits(const QString& text) {
  QString digits;
  for (const QChar c : text) {
    if (c >= u'0' && c <= u'9') digits += c;
  }
  return digits;
}

LoopCountTaken TakeLoopCount(const QString& text) {
  int value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c.unicode() - u'0');
    if (value > kMaxLoopCount) break;  // no overflow however long the text
  }
  if (value < kMinLoopCount) return {kMinLoopCount, QString::number(kMinLoopCount)};
  if (value > kMaxLoopCount) return {kMaxLoopCount, QString::number(kMaxLoopCount)};
  return {value, text};
}

}  // namespace ms1
