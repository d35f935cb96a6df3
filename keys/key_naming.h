// Key codes and virtual keys against one keyboard layout: which key code a
// virtual key stands for (by the key's physical position), and the text that
// names a key code (by the character the layout prints on the key, or a
// language text). Plain C++: the window and ms1ctl both use it, each with its
// own way of looking up language texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "libs/keylayout/key_layout.h"

namespace ms1 {

struct UsageLookup {
  bool found = false;
  uint32_t usage = 0;  // 0 when not found; callers keep the low byte
};

// The text stored for a language key.
using LanguageText = std::function<std::string(std::string_view language_key)>;

class KeyNaming {
 public:
  // The layout is used by reference and must outlive this object.
  KeyNaming(const keylayout::Layout& layout, LanguageText text)
      : layout_(layout), text_(std::move(text)) {}

  UsageLookup VirtualKeyToUsage(uint32_t virtual_key) const;
  // Never fails: a code without a name gives an empty text.
  std::string UsageDisplayName(uint32_t key_code) const;
  std::string VirtualKeyDisplayName(uint32_t virtual_key) const;

 private:
  std::string PrintedName(uint32_t virtual_key) const;

  const keylayout::Layout& layout_;
  LanguageText text_;
};

}  // namespace ms1
