// The system keyboard configuration of Debian and its relatives
// (/etc/default/keyboard, shell-style assignments such as XKBLAYOUT="fr"):
// the layout used when there is no X server to ask.
#pragma once

#include <istream>
#include <string>

namespace ms1::keylayout {

struct LayoutNames {
  std::string layout;   // empty when the file names none
  std::string variant;
};

LayoutNames ReadKeyboardDefaults(std::istream& file);

// The same, from a file; empty names when it cannot be read.
LayoutNames ReadKeyboardDefaultsFile(const std::string& path);

}  // namespace ms1::keylayout
