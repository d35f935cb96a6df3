#include "libs/virtualmouse/report_check.h"

#include <cstdio>

#include "model/protocol/button_layout.h"
#include "model/protocol/lighting_layout.h"
#include "model/protocol/macro_layout.h"
#include "model/protocol/mode_select_layout.h"
#include "model/protocol/polling_layout.h"
#include "model/protocol/polling_rate.h"
#include "model/protocol/settings_layout.h"

namespace ms1::vmouse {

namespace {

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

class Checker {
 public:
  Checker(const uint8_t* data, std::size_t size) : d_(data), n_(size) {}

  std::string Size(std::size_t expected, const char* what) const {
    if (n_ == expected) return {};
    return std::string(what) + " reports are " + std::to_string(expected) + " bytes, got " +
           std::to_string(n_);
  }
  std::string ModeNumber() const {
    const uint8_t number = d_[frame::kTarget];
    if (number >= kFirstModeNumber && number <= kLastModeNumber) return {};
    return "mode number " + std::to_string(number) + " is outside 1..5";
  }
  std::string Checksum(ChecksumSpan span) const {
    const uint16_t sum = ReportChecksum(d_, span.first, span.last);
    const uint16_t carried = static_cast<uint16_t>(d_[span.HighByte()] << 8 | d_[span.LowByte()]);
    if (sum == carried) return {};
    return "checksum " + Hex(carried) + " does not match the bytes (" + Hex(sum) + ")";
  }
  std::string Complement(std::size_t value, std::size_t complement) const {
    if (ms1::Complement(d_[value]) == d_[complement]) return {};
    return "byte " + std::to_string(complement) + " is not the complement of byte " +
           std::to_string(value);
  }
  std::string Byte(std::size_t at, uint8_t expected) const {
    if (d_[at] == expected) return {};
    return "byte " + std::to_string(at) + " is " + Hex(d_[at]) + ", expected " + Hex(expected);
  }
  std::string Zero(ByteSpan span) const {
    for (std::size_t i = span.first; i <= span.last; ++i) {
      if (d_[i] != 0) return "byte " + std::to_string(i) + " must be zero";
    }
    return {};
  }

 private:
  const uint8_t* d_;
  std::size_t n_;
};

// Runs the checks in order and keeps the first complaint.
template <typename... Checks>
std::string FirstError(Checks&&... checks) {
  std::string error;
  ((error.empty() ? (void)(error = checks()) : (void)0), ...);
  return error;
}

std::string CheckSettings(const Checker& c) {
  using namespace settings_layout;
  return FirstError([&] { return c.Size(report_size::kSettings, "settings"); },
                    [&] { return c.ModeNumber(); }, [&] { return c.Byte(kTrailer, kTrailerValue); },
                    [&] { return c.Checksum(kChecksum); }, [&] { return c.Zero(kPadding); });
}

std::string CheckLighting(const Checker& c) {
  using namespace lighting_layout;
  return FirstError(
      [&] { return c.Size(report_size::kLighting, "lighting"); }, [&] { return c.ModeNumber(); },
      [&] { return c.Byte(kFixedByte, kFixedByteValue); }, [&] { return c.Zero(kFixedZero); },
      [&] { return c.Byte(kTrailer, kTrailerValue); }, [&] { return c.Checksum(kChecksum); },
      [&] { return c.Zero(kPadding); });
}

std::string CheckPolling(const Checker& c, const uint8_t* d) {
  using namespace polling_layout;
  return FirstError([&] { return c.Size(report_size::kPollingRate, "polling-rate"); },
                    [&]() -> std::string {
                      return d[kRepetition] >= kFirstRepetition && d[kRepetition] <= kLastRepetition
                                 ? ""
                                 : "polling-rate repetition must be 1 or 2";
                    },
                    [&]() -> std::string {
                      return IsPollingInterval(d[kInterval])
                                 ? ""
                                 : "report interval " + std::to_string(d[kInterval]) +
                                       " is not 1, 2, 4 or 8";
                    },
                    [&] { return c.Complement(kInterval, kIntervalComplement); },
                    [&] { return c.Zero(kPadding); });
}

std::string CheckButtons(const Checker& c) {
  return FirstError([&] { return c.Size(report_size::kButtonMapping, "button-mapping"); },
                    [&] { return c.ModeNumber(); },
                    [&] { return c.Checksum(button_layout::kChecksum); });
}

std::string CheckModeSelect(const Checker& c) {
  using namespace mode_select_layout;
  return FirstError([&] { return c.Size(report_size::kModeSelect, "mode-select"); },
                    [&] { return c.ModeNumber(); },
                    [&] { return c.Complement(kModeNumber, kModeComplement); },
                    [&] { return c.Byte(kMarker, kMarkerValue); },
                    [&] { return c.Byte(kMarkerComplement, ms1::Complement(kMarkerValue)); },
                    [&] { return c.Zero(kPadding); });
}

std::string CheckMacroNumber(const uint8_t* d) {
  return d[macro_layout::kNumber] == 0 ? "macro number 0 is not a macro" : "";
}

std::string CheckFullMacro(ConnectionMode link, const Checker& c, const uint8_t* d) {
  using namespace macro_layout;
  return FirstError(
      [&]() -> std::string {
        return link == ConnectionMode::kWired ? "the wired link takes macros only as 64-byte chunks"
                                              : "";
      },
      [&] { return c.Size(report_size::kMacro, "macro"); }, [&] { return CheckMacroNumber(d); },
      [&] { return c.Zero(kFixedZero); },
      [&]() -> std::string {
        return d[kPairCount] <= kPairCapacity ? "" : "more than 50 macro step pairs";
      },
      [&] { return c.Checksum(kChecksum); });
}

std::string CheckMacroChunk(ConnectionMode link, const Checker& c, const uint8_t* d) {
  using namespace macro_chunk_layout;
  constexpr int kLastIndex = kChunkCount - 1;
  return FirstError(
      [&]() -> std::string {
        return link == ConnectionMode::kWired ? "" : "macro chunks belong to the wired link only";
      },
      [&] { return c.Size(report_size::kWiredChunk, "macro chunk"); },
      [&] { return CheckMacroNumber(d); },
      [&]() -> std::string { return d[kIndex] <= kLastIndex ? "" : "macro chunk index above 2"; },
      [&] {
        return d[kIndex] == kLastIndex ? c.Zero({kLastChunkDataEnd, report_size::kWiredChunk - 1})
                                       : std::string();
      });
}

}  // namespace

std::string CheckReport(ConnectionMode link, const uint8_t* data, std::size_t size) {
  if (size < 2) return "a report needs at least a command and a length byte";
  if (size > report_size::kLargest) return "reports are at most 131 bytes";
  if (link == ConnectionMode::kWired && size > report_size::kWiredChunk)
    return "the wired link takes at most 64 bytes";
  if (data[frame::kLength] != size) {
    return "length byte " + std::to_string(data[frame::kLength]) + " does not match the " +
           std::to_string(size) + " bytes sent";
  }
  if (size < frame::kHeaderSize) return "report too short";
  const Checker c(data, size);
  switch (data[frame::kCommand]) {
    case command::kSettings:
      return CheckSettings(c);
    case command::kLighting:
      return CheckLighting(c);
    case command::kPollingRate:
      return link == ConnectionMode::kBluetooth ? "Bluetooth LE has no polling rate"
                                                : CheckPolling(c, data);
    case command::kButtonMapping:
      return CheckButtons(c);
    case command::kModeSelect:
      return CheckModeSelect(c);
    case command::kMacro:
      return size == report_size::kWiredChunk ? CheckMacroChunk(link, c, data)
                                              : CheckFullMacro(link, c, data);
    default:
      return "unknown command " + Hex(data[frame::kCommand]);
  }
}

}  // namespace ms1::vmouse
