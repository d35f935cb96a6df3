// The simulated MS_1: what it was sent, what it refuses, and what it reports
// on its own. No sockets here; the simulator process drives it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "libs/virtualmouse/report_check.h"
#include "model/protocol/events.h"

namespace ms1::vmouse {

using Bytes = std::vector<uint8_t>;

// Something a link reports to the program: a plug change or a device event.
struct LinkEvent {
  enum class Kind { kPlug, kData };
  ConnectionMode link;
  Kind kind;
  uint16_t code;   // data events only
  uint16_t value;  // plug: 1 arrived, 0 removed
  bool operator==(const LinkEvent&) const = default;
};

struct Delivery {
  int result = 0;         // what SetFeature returns
  bool accepted = false;  // the mouse took it into its configuration
  std::string error;
  std::vector<LinkEvent> events;
};

// The configuration held for one mode record, as last accepted.
struct ModeConfig {
  std::optional<Bytes> settings;
  std::optional<Bytes> lighting;
  std::optional<Bytes> buttons;
};

struct LogEntry {
  uint64_t sequence;
  ConnectionMode link;
  Bytes report;
  std::string error;  // empty for accepted reports
};

class VirtualMouse {
 public:
  VirtualMouse();

  // One report through SetFeature of a link.
  Delivery Receive(ConnectionMode link, const uint8_t* data, std::size_t size);

  // Steering, as a user or the test harness would.
  std::vector<LinkEvent> SetPlugged(ConnectionMode link, bool plugged);
  std::vector<LinkEvent> PressDpi(int level);  // 1..8
  std::vector<LinkEvent> PressMode(int mode);  // 0..4
  std::vector<LinkEvent> ReportBattery(int level, bool asleep);
  std::vector<LinkEvent> Sleep();
  std::vector<LinkEvent> Wake();
  // The periodic status a wireless mouse sends while awake; none otherwise.
  std::vector<LinkEvent> Heartbeat() const;
  void LoseAcknowledgements(int count) { lose_acks_ = count; }
  void RefuseReports(int count) { refuse_ = count; }

  bool Plugged(ConnectionMode link) const { return plugged_[static_cast<int>(link)]; }
  bool Asleep() const { return asleep_; }
  const std::array<ModeConfig, 5>& Modes() const { return modes_; }
  const std::map<int, Bytes>& Macros() const { return macros_; }
  int ActiveMode() const { return active_mode_; }

  const std::deque<LogEntry>& Accepted() const { return accepted_; }
  const std::deque<LogEntry>& Refused() const { return refused_; }
  void ClearLog();

  nlohmann::json StateJson() const;
  nlohmann::json LogJson() const;

 private:
  struct ChunkProgress {
    int next_index = 0;  // 0: no macro in progress
    uint8_t macro_number = 0;
    Bytes assembled;
  };

  std::string CheckChunkOrder(ConnectionMode link, const uint8_t* data) const;
  void Store(ConnectionMode link, const uint8_t* data, std::size_t size);
  void StoreChunk(ConnectionMode link, const uint8_t* data);
  void KeepDpiLevel(int level);
  // Which link carries what the mouse reports by itself.
  std::optional<ConnectionMode> EventLink() const;
  std::vector<LinkEvent> Status() const;
  void Remember(std::deque<LogEntry>& log, ConnectionMode link, const uint8_t* data,
                std::size_t size, const std::string& error);

  std::array<bool, kLinkCount> plugged_{};
  std::array<ChunkProgress, kLinkCount> chunks_{};
  std::array<ModeConfig, 5> modes_{};
  std::map<int, Bytes> macros_;
  std::optional<uint8_t> polling_interval_;
  int active_mode_ = 0;
  int dpi_level_ = 1;
  int battery_ = 8;
  bool asleep_ = false;
  int lose_acks_ = 0;
  int refuse_ = 0;
  uint64_t sequence_ = 0;
  std::deque<LogEntry> accepted_;
  std::deque<LogEntry> refused_;
};

}  // namespace ms1::vmouse
