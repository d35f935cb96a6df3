#include "libs/keylayout/keyboard_defaults.h"

#include <fstream>
#include <string_view>

namespace ms1::keylayout {
namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

// A value as the shell would read it in this file's simple form: quoted with
// '' or "", or bare up to a comment.
std::string Unquote(std::string_view value) {
  value = Trim(value);
  if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
    const auto close = value.find(value.front(), 1);
    return std::string(value.substr(1, close == std::string_view::npos ? close : close - 1));
  }
  return std::string(Trim(value.substr(0, value.find('#'))));
}

}  // namespace

LayoutNames ReadKeyboardDefaults(std::istream& file) {
  LayoutNames names;
  std::string line;
  while (std::getline(file, line)) {
    std::string_view text = Trim(line);
    if (text.starts_with("export ")) text = Trim(text.substr(7));
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = text.substr(0, equals);
    if (name == "XKBLAYOUT") names.layout = Unquote(text.substr(equals + 1));
    if (name == "XKBVARIANT") names.variant = Unquote(text.substr(equals + 1));
  }
  return names;
}

LayoutNames ReadKeyboardDefaultsFile(const std::string& path) {
  std::ifstream file(path);
  if (!file) return {};
  return ReadKeyboardDefaults(file);
}

}  // namespace ms1::keylayout
