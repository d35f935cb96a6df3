// Names in the records are NUL-terminated UTF-16LE strings in fixed fields.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ms1 {

// The text of a field up to its terminator, or the whole field when it has none.
std::u16string FieldText(const char16_t* field, std::size_t capacity);

// Clears the field and copies at most capacity - 1 characters of text into it,
// so the field is always terminated.
void SetFieldText(char16_t* field, std::size_t capacity, std::u16string_view text);

template <std::size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
  return FieldText(field, N);
}
template <std::size_t N>
void SetFieldText(char16_t (&field)[N], std::u16string_view text) {
  SetFieldText(field, N, text);
}

// Appends one code point as one UTF-16 unit or a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t code_point);

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t code_point);

// UTF-8 <-> UTF-16 for the command line and JSON, and UTF-8 as code points.
// Malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace ms1
