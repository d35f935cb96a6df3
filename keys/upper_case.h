// Upper-casing of a key's characters, one character at a time, the way key
// caps are labelled: "é" becomes "É", but "ß" stays "ß" (no "SS").
#pragma once

#include <string>
#include <string_view>

namespace ms1 {

// UTF-8 in and out; bytes that are not UTF-8 become U+FFFD.
std::string UpperCaseEach(std::string_view utf8);

}  // namespace ms1
