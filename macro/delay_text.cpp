#include "macro/delay_text.h"

#include <algorithm>
#include <limits>

#include "macro/action_buffer.h"

namespace ms1 {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

int64_t LeadingDecimal(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const int digit = text[i] - u'0';
    value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
  }
  return negative ? -value : value;
}

uint16_t DelayFromText(std::u16string_view text) {
  return static_cast<uint16_t>(
      std::clamp<int64_t>(LeadingDecimal(text), kSmallestDelayMs, kLargestDelayMs));
}

std::optional<std::u16string> DefaultDelayTextOnFocusLoss(std::u16string_view text) {
  if (LeadingDecimal(text) >= kSmallestDelayMs) return std::nullopt;
  return u"10";
}

}  // namespace ms1
