#include "libs/virtualmouse/report_check.h"

#include <cstdio>

#include "model/report.h"

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
    if (d_[2] >= kModeNumberMin && d_[2] <= kModeNumberMax) return {};
    return "mode number " + std::to_string(d_[2]) + " is outside 1..5";
  }
  std::string Checksum(std::size_t last) const {
    const uint16_t sum = ReportChecksum(d_, 3, last);
    const uint16_t carried = static_cast<uint16_t>(d_[last + 1] << 8 | d_[last + 2]);
    if (sum == carried) return {};
    return "checksum " + Hex(carried) + " does not match the bytes (" + Hex(sum) + ")";
  }
  std::string Complement(std::size_t at) const {
    if (static_cast<uint8_t>(~d_[at]) == d_[at + 1]) return {};
    return "byte " + std::to_string(at + 1) + " is not the complement of byte " +
           std::to_string(at);
  }
  std::string Byte(std::size_t at, uint8_t expected) const {
    if (d_[at] == expected) return {};
    return "byte " + std::to_string(at) + " is " + Hex(d_[at]) + ", expected " + Hex(expected);
  }
  std::string Zero(std::size_t first, std::size_t last) const {
    for (std::size_t i = first; i <= last; ++i) {
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
  return FirstError([&] { return c.Size(report_size::kSettings, "settings"); },
                    [&] { return c.ModeNumber(); }, [&] { return c.Byte(49, 0x02); },
                    [&] { return c.Checksum(49); }, [&] { return c.Zero(52, 55); });
}

std::string CheckLighting(const Checker& c) {
  return FirstError([&] { return c.Size(report_size::kLighting, "lighting"); },
                    [&] { return c.ModeNumber(); }, [&] { return c.Byte(6, 0xFF); },
                    [&] { return c.Zero(7, 8); }, [&] { return c.Byte(10, 0x01); },
                    [&] { return c.Checksum(10); }, [&] { return c.Zero(13, 14); });
}

std::string CheckPolling(const Checker& c, const uint8_t* d) {
  return FirstError([&] { return c.Size(report_size::kPollingRate, "polling-rate"); },
                    [&]() -> std::string {
                      return d[2] == 1 || d[2] == 2 ? "" : "polling-rate repetition must be 1 or 2";
                    },
                    [&]() -> std::string {
                      return d[3] == 1 || d[3] == 2 || d[3] == 4 || d[3] == 8
                                 ? ""
                                 : "report interval " + std::to_string(d[3]) +
                                       " is not 1, 2, 4 or 8";
                    },
                    [&] { return c.Complement(3); }, [&] { return c.Zero(5, 8); });
}

std::string CheckButtons(const Checker& c) {
  return FirstError([&] { return c.Size(report_size::kButtonMapping, "button-mapping"); },
                    [&] { return c.ModeNumber(); }, [&] { return c.Checksum(56); });
}

std::string CheckModeSelect(const Checker& c) {
  return FirstError([&] { return c.Size(report_size::kModeSelect, "mode-select"); },
                    [&] { return c.ModeNumber(); }, [&] { return c.Complement(2); },
                    [&] { return c.Byte(4, 0x02); }, [&] { return c.Byte(5, 0xFD); },
                    [&] { return c.Zero(6, 9); });
}

constexpr std::size_t kMacroPairCountByte = 28;
constexpr uint8_t kMacroPairCapacity = 50;

std::string CheckMacroNumber(const uint8_t* d) {
  return d[2] == 0 ? "macro number 0 is not a macro" : "";
}

std::string CheckFullMacro(Link link, const Checker& c, const uint8_t* d) {
  return FirstError(
      [&]() -> std::string {
        return link == Link::kWired ? "the wired link takes macros only as 64-byte chunks" : "";
      },
      [&] { return c.Size(report_size::kMacro, "macro"); }, [&] { return CheckMacroNumber(d); },
      [&] { return c.Zero(8, 27); },
      [&]() -> std::string {
        return d[kMacroPairCountByte] <= kMacroPairCapacity ? "" : "more than 50 macro step pairs";
      },
      [&] { return c.Checksum(128); });
}

// Chunk 2 carries the last 8 report bytes and zero padding.
constexpr std::size_t kLastChunkDataEnd = 12;

std::string CheckMacroChunk(Link link, const Checker& c, const uint8_t* d) {
  return FirstError(
      [&]() -> std::string {
        return link == Link::kWired ? "" : "macro chunks belong to the wired link only";
      },
      [&] { return c.Size(report_size::kWiredChunk, "macro chunk"); },
      [&] { return CheckMacroNumber(d); },
      [&]() -> std::string { return d[3] <= 2 ? "" : "macro chunk index above 2"; },
      [&] { return d[3] == 2 ? c.Zero(kLastChunkDataEnd, 63) : std::string(); });
}

}  // namespace

std::string CheckReport(Link link, const uint8_t* data, std::size_t size) {
  if (size < 2) return "a report needs at least a command and a length byte";
  if (size > kMaxReport) return "reports are at most 131 bytes";
  if (link == Link::kWired && size > kWiredMaxReport)
    return "the wired link takes at most 64 bytes";
  if (data[1] != size) {
    return "length byte " + std::to_string(data[1]) + " does not match the " +
           std::to_string(size) + " bytes sent";
  }
  if (size < 3) return "report too short";
  const Checker c(data, size);
  switch (data[0]) {
    case command::kSettings:
      return CheckSettings(c);
    case command::kLighting:
      return CheckLighting(c);
    case command::kPollingRate:
      return CheckPolling(c, data);
    case command::kButtonMapping:
      return CheckButtons(c);
    case command::kModeSelect:
      return CheckModeSelect(c);
    case command::kMacro:
      return size == report_size::kWiredChunk ? CheckMacroChunk(link, c, data)
                                              : CheckFullMacro(link, c, data);
    default:
      return "unknown command " + Hex(data[0]);
  }
}

}  // namespace ms1::vmouse
