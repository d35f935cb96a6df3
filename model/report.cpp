#include "model/report.h"

namespace ms1 {

void StoreChecksum(Report& report, ChecksumSpan span) {
  const uint16_t sum = ReportChecksum(report.data(), span.first, span.last);
  report.at(span.HighByte()) = static_cast<uint8_t>(sum >> 8);
  report.at(span.LowByte()) = static_cast<uint8_t>(sum & 0xFF);
}

Report NewReport(uint8_t command, std::size_t size) {
  Report report(size, 0);
  report[frame::kCommand] = command;
  report[frame::kLength] = static_cast<uint8_t>(size);
  return report;
}

}  // namespace ms1
