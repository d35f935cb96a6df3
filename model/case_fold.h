// Names of profiles and macros compare without regard to letter case, for
// every script, not only ASCII: "Ä" equals "ä", "Σ" equals "ς".
#pragma once

#include <string>
#include <string_view>

namespace ms1 {

// Simple Unicode case folding of one code point (one code point in, one out).
char32_t FoldCase(char32_t code_point);

// Folds every code point of a UTF-16 text; surrogate pairs are folded as the
// code point they encode, lone surrogates stay as they are.
std::u16string FoldCase(std::u16string_view text);

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace ms1
