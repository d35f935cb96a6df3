#include "libs/virtualmouse/virtual_mouse.h"

#include "libs/virtualmouse/report_decode.h"
#include "model/protocol/macro_layout.h"
#include "model/protocol/polling_layout.h"
#include "model/protocol/polling_rate.h"
#include "model/protocol/settings_layout.h"

namespace ms1::vmouse {

namespace {

using nlohmann::json;

constexpr std::size_t kLogLimit = 20000;

int Index(ConnectionMode link) {
  return static_cast<int>(link);
}

LinkEvent Data(ConnectionMode link, uint16_t code, uint16_t value) {
  return {link, LinkEvent::Kind::kData, code, value};
}

// The full macro report the three wired chunks stand for.
Bytes AssembleMacro(const Bytes& chunks, uint8_t macro_number) {
  using namespace macro_chunk_layout;
  Bytes full(report_size::kMacro, 0);
  full[frame::kCommand] = command::kMacro;
  full[frame::kLength] = static_cast<uint8_t>(report_size::kMacro);
  full[macro_layout::kNumber] = macro_number;
  for (std::size_t i = kSourceFirst; i < full.size(); ++i) {
    const std::size_t payload = i - kSourceFirst;
    full[i] = chunks[(payload / kPayloadSize) * report_size::kWiredChunk + kFirstPayload +
                     payload % kPayloadSize];
  }
  return full;
}

bool IsMacroChunk(const uint8_t* data, std::size_t size) {
  return data[frame::kCommand] == command::kMacro && size == report_size::kWiredChunk;
}

}  // namespace

VirtualMouse::VirtualMouse() = default;

void VirtualMouse::Remember(std::deque<LogEntry>& log, ConnectionMode link, const uint8_t* data,
                            std::size_t size, const std::string& error) {
  log.push_back({++sequence_, link, Bytes(data, data + size), error});
  if (log.size() > kLogLimit) log.pop_front();
}

Delivery VirtualMouse::Receive(ConnectionMode link, const uint8_t* data, std::size_t size) {
  Delivery delivery;
  if (!Plugged(link)) {
    delivery.error = std::string("the ") + LinkName(link) + " link is not plugged";
    return delivery;
  }
  auto acknowledge = [&](uint16_t verdict) {
    if (link != ConnectionMode::kReceiver) return;
    if (lose_acks_ > 0) {
      --lose_acks_;
      return;
    }
    delivery.events.push_back(Data(link, event::kAcknowledge, verdict));
  };
  if (link == ConnectionMode::kReceiver && asleep_) {
    // The receiver takes the report, but the sleeping mouse never answers.
    delivery.result = 1;
    delivery.error = "the mouse is asleep";
    Remember(refused_, link, data, size, delivery.error);
    return delivery;
  }
  if (refuse_ > 0) {
    --refuse_;
    delivery.error = "refused on request";
  } else {
    delivery.error = CheckReport(link, data, size);
    if (delivery.error.empty()) delivery.error = CheckChunkOrder(link, data);
  }
  if (!delivery.error.empty()) {
    if (link == ConnectionMode::kWired) chunks_[Index(link)] = {};
    Remember(refused_, link, data, size, delivery.error);
    acknowledge(kAckRefused);
    return delivery;
  }
  Store(link, data, size);
  Remember(accepted_, link, data, size, "");
  delivery.accepted = true;
  delivery.result = 1;
  acknowledge(kAckAccepted);
  return delivery;
}

std::string VirtualMouse::CheckChunkOrder(ConnectionMode link, const uint8_t* data) const {
  using namespace macro_chunk_layout;
  if (!IsMacroChunk(data, data[frame::kLength]) || data[kIndex] == 0) return {};
  const ChunkProgress& progress = chunks_[Index(link)];
  if (progress.next_index != data[kIndex]) {
    return "macro chunk " + std::to_string(data[kIndex]) + " out of order (expected " +
           std::to_string(progress.next_index) + ")";
  }
  if (progress.macro_number != data[kNumber]) {
    return "macro chunk for macro " + std::to_string(data[kNumber]) + " while macro " +
           std::to_string(progress.macro_number) + " is in progress";
  }
  if (data[kIndex] == kChunkCount - 1) {
    Bytes chunks = progress.assembled;
    chunks.insert(chunks.end(), data, data + report_size::kWiredChunk);
    const Bytes full = AssembleMacro(chunks, data[kNumber]);
    const std::string error = CheckReport(ConnectionMode::kReceiver, full.data(), full.size());
    if (!error.empty()) return "assembled macro refused: " + error;
  }
  return {};
}

void VirtualMouse::StoreChunk(ConnectionMode link, const uint8_t* data) {
  using namespace macro_chunk_layout;
  ChunkProgress& progress = chunks_[Index(link)];
  if (data[kIndex] == 0) progress = {0, data[kNumber], {}};
  progress.assembled.insert(progress.assembled.end(), data, data + report_size::kWiredChunk);
  progress.next_index = data[kIndex] + 1;
  if (progress.next_index == kChunkCount) {
    macros_[data[kNumber]] = AssembleMacro(progress.assembled, data[kNumber]);
    progress = {};
  }
}

void VirtualMouse::Store(ConnectionMode link, const uint8_t* data, std::size_t size) {
  const Bytes report(data, data + size);
  const bool chunk = IsMacroChunk(data, size);
  // Anything else between two chunks abandons the macro in progress.
  if (!chunk) chunks_[Index(link)] = {};
  // Per-mode reports name the mode record by its number, index + 1.
  const uint8_t target = data[frame::kTarget];
  switch (data[frame::kCommand]) {
    case command::kSettings:
      modes_[target - 1].settings = report;
      break;
    case command::kLighting:
      modes_[target - 1].lighting = report;
      break;
    case command::kPollingRate:
      polling_interval_ = data[polling_layout::kInterval];
      break;
    case command::kButtonMapping:
      modes_[target - 1].buttons = report;
      break;
    case command::kModeSelect:
      active_mode_ = target - 1;
      break;
    case command::kMacro:
      if (chunk) {
        StoreChunk(link, data);
      } else {
        macros_[target] = report;
      }
      break;
    default:
      break;
  }
}

std::vector<LinkEvent> VirtualMouse::SetPlugged(ConnectionMode link, bool plugged) {
  if (Plugged(link) == plugged) return {};
  plugged_[Index(link)] = plugged;
  chunks_[Index(link)] = {};
  return {{link, LinkEvent::Kind::kPlug, 0, static_cast<uint16_t>(plugged ? 1 : 0)}};
}

std::optional<ConnectionMode> VirtualMouse::EventLink() const {
  if (Plugged(ConnectionMode::kWired)) return ConnectionMode::kWired;
  if (Plugged(ConnectionMode::kReceiver)) return ConnectionMode::kReceiver;
  if (Plugged(ConnectionMode::kBluetooth)) return ConnectionMode::kBluetooth;
  return std::nullopt;
}

std::vector<LinkEvent> VirtualMouse::Status() const {
  std::optional<ConnectionMode> link;
  if (Plugged(ConnectionMode::kReceiver)) {
    link = ConnectionMode::kReceiver;
  } else if (Plugged(ConnectionMode::kWired)) {
    link = ConnectionMode::kWired;
  } else if (Plugged(ConnectionMode::kBluetooth)) {
    link = ConnectionMode::kBluetooth;
  }
  if (!link) return {};
  return {Data(*link, event::kStatus, StatusValue(static_cast<unsigned>(battery_), !asleep_))};
}

std::vector<LinkEvent> VirtualMouse::PressDpi(int level) {
  dpi_level_ = level;
  KeepDpiLevel(level);
  asleep_ = false;
  const auto link = EventLink();
  if (!link) return {};
  return {Data(*link, event::kDpiLevel, static_cast<uint16_t>(level))};
}

// The program takes a pressed level into every mode record and counts it as
// sent, so the mouse's own settings must name it from now on, as a real
// mouse's would: what it holds stays comparable with the program's profile.
void VirtualMouse::KeepDpiLevel(int level) {
  using namespace settings_layout;
  for (ModeConfig& mode : modes_) {
    if (!mode.settings) continue;
    Bytes& settings = *mode.settings;
    settings[kDpiLevel] = static_cast<uint8_t>(level);
    const uint16_t sum = ReportChecksum(settings.data(), kChecksum.first, kChecksum.last);
    settings[kChecksum.HighByte()] = static_cast<uint8_t>(sum >> 8);
    settings[kChecksum.LowByte()] = static_cast<uint8_t>(sum);
  }
}

std::vector<LinkEvent> VirtualMouse::PressMode(int mode) {
  active_mode_ = mode;
  asleep_ = false;
  const auto link = EventLink();
  if (!link) return {};
  return {Data(*link, event::kMode, static_cast<uint16_t>(mode))};
}

std::vector<LinkEvent> VirtualMouse::ReportBattery(int level, bool asleep) {
  battery_ = level;
  asleep_ = asleep;
  std::vector<LinkEvent> events = Status();
  if (!events.empty() && IsBatteryLevel(static_cast<unsigned>(level))) {
    events.push_back(Data(events.front().link, event::kBattery, static_cast<uint16_t>(level)));
  }
  return events;
}

std::vector<LinkEvent> VirtualMouse::Sleep() {
  asleep_ = true;
  return Status();
}

std::vector<LinkEvent> VirtualMouse::Wake() {
  asleep_ = false;
  return Status();
}

std::vector<LinkEvent> VirtualMouse::Heartbeat() const {
  if (!Plugged(ConnectionMode::kReceiver) || asleep_) return {};
  return Status();
}

void VirtualMouse::ClearLog() {
  accepted_.clear();
  refused_.clear();
}

json VirtualMouse::StateJson() const {
  json links = json::object();
  for (ConnectionMode link : kAllLinks) {
    links[LinkName(link)] = Plugged(link);
  }
  json modes = json::array();
  for (std::size_t k = 0; k < modes_.size(); ++k) {
    const ModeConfig& mode = modes_[k];
    modes.push_back({{"mode_number", k + 1},
                     {"settings", mode.settings ? DecodeSettings(*mode.settings) : json()},
                     {"lighting", mode.lighting ? DecodeLighting(*mode.lighting) : json()},
                     {"buttons", mode.buttons ? DecodeButtons(*mode.buttons) : json()}});
  }
  json macros = json::object();
  for (const auto& [number, report] : macros_) macros[std::to_string(number)] = DecodeMacro(report);
  json polling;
  if (polling_interval_) {
    polling = {{"interval_ms", *polling_interval_}, {"rate_hz", PollingRateHz(*polling_interval_)}};
  }
  return {{"plugged", links},
          {"asleep", asleep_},
          {"battery", battery_},
          {"active_mode", active_mode_},
          {"dpi_level", dpi_level_},
          {"polling_rate", polling},
          {"modes", modes},
          {"macros", macros},
          {"lose_acks", lose_acks_},
          {"refuse", refuse_},
          {"accepted_count", accepted_.size()},
          {"refused_count", refused_.size()}};
}

json VirtualMouse::LogJson() const {
  auto entries = [](const std::deque<LogEntry>& log) {
    json list = json::array();
    for (const LogEntry& e : log) {
      json item = {{"seq", e.sequence}, {"link", LinkName(e.link)}, {"report", ToHex(e.report)}};
      if (!e.error.empty()) item["error"] = e.error;
      list.push_back(item);
    }
    return list;
  };
  return {{"accepted", entries(accepted_)}, {"refused", entries(refused_)}};
}

}  // namespace ms1::vmouse
