// How ms1ctl's views name keys: by the key tables on the keyboard layout that
// is active when the command runs, with the program's English texts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ms1::cli {

struct KeyNames {
  // A key code's name; empty when the code has none.
  std::function<std::string(uint32_t key_code)> key;
  // Ctrl, Shift, Alt, Win (bits 0..3 of a shortcut's modifiers), as shown.
  std::array<std::string, 4> modifiers;
  // The program's text for a language key (a button function's name, say);
  // unset: the key stands for itself.
  std::function<std::string(std::string_view language_key)> text;
};

// The layout is read at the first key named, once for the whole command.
KeyNames ActiveKeyNames(const std::string& tool_folder);

}  // namespace ms1::cli
