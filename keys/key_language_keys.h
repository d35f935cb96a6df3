// The language keys of the named keys: the texts shown for key codes and
// virtual keys that are not named by the character the layout prints.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ms1 {

// The language key of a key code outside the character range (0x04..0x39),
// mouse buttons included. nullopt when the code has no entry (its text is
// empty without any lookup); an empty key for 0x66..0x68, whose text is empty.
std::optional<std::string_view> UsageLanguageKey(uint32_t key_code);

// The language key of a virtual key named by a fixed text; nullopt for the
// others, which are named by the character they print.
std::optional<std::string_view> VirtualKeyLanguageKey(uint32_t virtual_key);

}  // namespace ms1
