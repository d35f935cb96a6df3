// The loop count a macro button plays its macro with, as typed into a field:
// only digits stay, and a count outside 1..255 is corrected when it is taken.
#pragma once

#include <QString>

namespace ms1 {

inline constexpr int kMinLoopCount = 1;
inline constexpr int kMaxLoopCount = 255;

// The text without every character that is not a decimal digit 0..9.
QString LoopCountDigits(const QString& text);

struct LoopCountTaken {
  int count = kMinLoopCount;
  QString text;  // what the field shows afterwards
};

// The leading digits read as a number: 1..255 stays as typed; 0 or no digits
// give 1, and anything above 255 gives 255, shown corrected.
LoopCountTaken TakeLoopCount(const QString& text);

}  // namespace ms1
