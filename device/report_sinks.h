// The ends a report can be handed to: a driver library's SetFeature, a
// Bluetooth LE characteristic write, and the transport as a whole.
#pragma once

#include <cstdint>
#include <optional>

#include "device/link_state.h"

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

// What became of one report.
struct SendOutcome {
  int result = 0;                      // last driver or Bluetooth result; non-zero: delivered
  std::optional<ConnectionMode> link;  // the link that had the last word; none: no link
  // The usable link does not take this kind of report (the polling rate over
  // Bluetooth LE): the mouse has no such setting there, so nothing was lost.
  bool not_for_link = false;
  // The receiver took every attempt but the mouse never confirmed one: it may
  // hold the report or not, so it cannot count as delivered.
  bool unacknowledged = false;

  bool Lost() const { return (result == 0 || unacknowledged) && !not_for_link; }
};

class ReportSender {
 public:
  virtual ~ReportSender() = default;
  virtual SendOutcome Send(const uint8_t* report, int length) = 0;
  // Non-zero: delivered over some link; 0: no link took the report.
  int SendReport(const uint8_t* report, int length) { return Send(report, length).result; }
};

}  // namespace ms1
