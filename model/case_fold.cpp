#include "model/case_fold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "model/text_field.h"

namespace ms1 {

namespace {

// Every stride-th code point from first to last folds to itself + delta.
struct FoldRun {
  char32_t first;
  char32_t last;
  int32_t delta;
  uint32_t stride;
};

constexpr FoldRun kFoldRuns[] = {
#include "model/case_fold_table.inc"
};

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

char32_t FoldCase(char32_t cp) {
  const auto* run = std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), cp,
                                     [](char32_t c, const FoldRun& r) { return c < r.first; });
  if (run == std::begin(kFoldRuns)) return cp;
  --run;
  if (cp > run->last || (cp - run->first) % run->stride != 0) return cp;
  return static_cast<char32_t>(static_cast<int64_t>(cp) + run->delta);
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t cp =
          0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
      AppendUtf16(out, FoldCase(cp));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out.push_back(c);
    } else {
      AppendUtf16(out, FoldCase(char32_t{c}));
    }
  }
  return out;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;  // simple folding never changes the length
  return FoldCase(a) == FoldCase(b);
}

}  // namespace ms1
