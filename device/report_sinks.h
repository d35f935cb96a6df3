// The ends a report can be handed to: a driver library's SetFeature, a
// Bluetooth LE characteristic write, and the transport as a whole.
#pragma once

#include <cstdint>

namespace ms1 {

class FeatureSink {
 public:
  virtual ~FeatureSink() = default;
  // Non-zero: delivered.
  virtual int32_t SetFeature(const uint8_t* report, int32_t length) = 0;
};

// Filled in by the Bluetooth LE transport.
class BleWriter {
 public:
  virtual ~BleWriter() = default;
  // Non-zero: written.
  virtual int WriteReport(const uint8_t* report, int length) = 0;
};

class ReportSender {
 public:
  virtual ~ReportSender() = default;
  // Non-zero: delivered over some link; 0: no link took the report.
  virtual int SendReport(const uint8_t* report, int length) = 0;
};

}  // namespace ms1
