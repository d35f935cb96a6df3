#include "cli/report_text.h"

namespace ms1::cli {

std::string HexLine(const Report& report) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string line;
  line.reserve(report.size() * 3);
  for (uint8_t byte : report) {
    if (!line.empty()) line.push_back(' ');
    line.push_back(kDigits[byte >> 4]);
    line.push_back(kDigits[byte & 0xF]);
  }
  return line;
}

}  // namespace ms1::cli
