// Generated names that stay unique: name, name_1, name_2, ... compared without
// regard to case by the caller's `exists`, and always short enough for the
// record field they go into.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ms1 {

using NameExists = std::function<bool(std::u16string_view)>;

// Characters a name may hold in its field (the field keeps a terminator).
inline constexpr std::size_t kMaxProfileNameLength = 49;
inline constexpr std::size_t kMaxMacroNameLength = 23;

// Returns base (cut to max_length) when it is free, else the first free
// "base_n" for n = 1, 2, ...; when base_n would be longer than max_length the
// base is shortened so that the suffix fits, so the result is never cut again
// when stored (which could make it collide).
std::u16string MakeUniqueName(std::u16string_view base, const NameExists& exists,
                              std::size_t max_length);

// n in decimal digits, for names such as "Profile1" and "Work_2".
std::u16string DecimalText(std::size_t n);

// The first `length` UTF-16 units of text, one fewer when the cut would split a
// surrogate pair.
std::u16string_view CutName(std::u16string_view text, std::size_t length);

}  // namespace ms1
