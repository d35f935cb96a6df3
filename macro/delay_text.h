// Delays typed by the user. Fields are read the way a C library reads a
// decimal integer: leading blanks, an optional sign, digits up to the first
// other character; no digits read as 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ms1 {

// The integer at the start of text, saturated to the range of int64_t.
int64_t LeadingDecimal(std::u16string_view text);

// A delay field's value as a step delay: limited to 10..65535 ms, so neither a
// pause shorter than the mouse plays nor one that wraps in 16 bits is stored.
uint16_t DelayFromText(std::u16string_view text);

// What the default-delay field shows once it loses focus: "10" for a value
// below 10, nothing when the text stays as it is.
std::optional<std::u16string> DefaultDelayTextOnFocusLoss(std::u16string_view text);

}  // namespace ms1
