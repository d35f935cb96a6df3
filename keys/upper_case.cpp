#include "keys/upper_case.h"

#include <locale.h>
#include <wctype.h>

#include "model/text_field.h"

namespace ms1 {
namespace {

// The C.UTF-8 case tables cover all of Unicode and depend on no language
// setting of the user. Made once, kept for the life of the process.
locale_t CaseTables() {
  static const locale_t tables = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return tables;
}

char32_t Upper(char32_t c) {
  if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
  const locale_t tables = CaseTables();
  if (tables == static_cast<locale_t>(0)) return c;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), tables));
}

}  // namespace

std::string UpperCaseEach(std::string_view utf8) {
  std::string out;
  for (const char32_t c : Utf8ToUtf32(utf8)) AppendUtf8(out, Upper(c));
  return out;
}

}  // namespace ms1
