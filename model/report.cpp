#include "model/report.h"

namespace ms1 {

uint16_t ReportChecksum(const uint8_t* buffer, std::size_t first, std::size_t last) {
  uint16_t sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum = static_cast<uint16_t>(sum + buffer[i]);
  return sum;
}

void StoreChecksum(Report& report, std::size_t last) {
  const uint16_t sum = ReportChecksum(report.data(), 3, last);
  report.at(last + 1) = static_cast<uint8_t>(sum >> 8);
  report.at(last + 2) = static_cast<uint8_t>(sum & 0xFF);
}

Report NewReport(uint8_t command, std::size_t size) {
  Report report(size, 0);
  report[0] = command;
  report[1] = static_cast<uint8_t>(size);
  return report;
}

}  // namespace ms1
