#include "model/unique_name.h"

#include <string>

namespace ms1 {

std::u16string DecimalText(std::size_t n) {
  std::u16string text;
  for (char c : std::to_string(n)) text.push_back(static_cast<char16_t>(c));
  return text;
}

std::u16string_view CutName(std::u16string_view text, std::size_t length) {
  if (text.size() <= length) return text;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
  return text.substr(0, length);
}

std::u16string MakeUniqueName(std::u16string_view base, const NameExists& exists,
                              std::size_t max_length) {
  const std::u16string_view fitted = CutName(base, max_length);
  if (!exists(fitted)) return std::u16string(fitted);
  for (unsigned n = 1;; ++n) {
    const std::u16string suffix = u"_" + DecimalText(n);
    if (suffix.size() > max_length) return std::u16string(fitted);  // no room for any suffix
    std::u16string candidate(CutName(base, max_length - suffix.size()));
    candidate += suffix;
    if (!exists(candidate)) return candidate;
  }
}

}  // namespace ms1
