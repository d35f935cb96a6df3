#include "device/device_event_handler.h"

#include <cstdio>
#include <string>

#include "device/link_panels.h"
#include "device/messages.h"
#include "device/trace_output.h"
#include "model/profile.h"

namespace ms1 {

void DeviceEventHandler::HandleDeviceEvent(DeviceEvent e) {
  switch (e.code) {
    case event::kDpiLevel: OnDpiLevel(e.value); break;
    case event::kPollingRate: OnPollingRate(e.value); break;
    case event::kConfigChanged: SaveStore(); break;
    case event::kStatus: OnStatus(e.value); break;
    case event::kAcknowledge: links_.ackReceived = AcknowledgeAccepted(e.value) ? 1 : 0; break;
    case event::kBattery:
      if (IsBatteryLevel(e.value)) {
        battery_level_ = e.value;
        view_.ShowBatteryLevel(e.value * 10);
      }
      break;
    case event::kMode: OnMode(e.value); break;
    default: break;
  }
}

void DeviceEventHandler::OnDpiLevel(uint16_t level) {
  if (level < 1 || level > 8) return;
  if (!model_.RecordReported(ReportedSetting::kDpiLevel, level - 1)) return;
  // The indicator shows the level's DPI from the active mode, the table the
  // page shows; the five tables only differ after an import made them so.
  const int32_t dpi = model_.With([&](PageState& s) {
    const ProfileRecord* p = s.Current();
    return p == nullptr ? 0 : ModeOf(*p, ActiveModeIndex(*p)).dpi_value[level - 1];
  });
  view_.SelectDpiLevelOption(level);
  host_.PostToWindow(msg::kShowDpi, 0, dpi);
  Reported();
}

void DeviceEventHandler::OnPollingRate(uint16_t value) {
  const auto index = PollingIndexForEvent(value);
  if (!index || !model_.RecordReported(ReportedSetting::kPollingRate, *index)) return;
  Reported();
}

void DeviceEventHandler::OnStatus(uint16_t value) {
  host_.StartTimer(timer::kReceiverHeartbeat, period::kReceiverHeartbeat);
  const bool receiver_back = links_.receiverAwake == 0;
  if (receiver_back) {
    links_.receiverAwake = 1;
    view_.ShowLinkIcon(ConnectionMode::kReceiver, true);
    RefreshLinkPanels(links_, view_);
    if (SleepLabelWanted(links_)) view_.ShowSleepLabel(true);
  }
  const bool awake = StatusAwake(value);
  const bool was_asleep = links_.mouseAsleep.exchange(awake ? 0 : 1) != 0;
  view_.ShowSleepLabel(!awake);
  // Edits made while it slept or was out of reach were kept but not sent:
  // send them now.
  if (awake && (was_asleep || receiver_back) && model_.MayHaveUnsentEdits() && request_apply_) {
    request_apply_();
  }
  const int level = static_cast<int>(StatusBatteryTenths(value));
  if (IsBatteryLevel(level)) {
    battery_level_ = level;
    view_.SetPowerRing(level * 10);
    view_.SetPowerLabelText(std::to_string(level * 10) + "%");
    view_.ShowBatteryLevel(level * 10);
  }
}

void DeviceEventHandler::OnMode(uint16_t mode) {
  if (mode > 4 || !model_.RecordReported(ReportedSetting::kActiveMode, mode)) return;
  view_.RefreshPage();
  if (mode <= 1) view_.SelectModeOptionNotifying(mode);
  Reported();
}

void DeviceEventHandler::SaveStore() {
  model_.SaveStore(store_);
}

void DeviceEventHandler::Reported() {
  SaveStore();
  if (reported_) reported_();
}

void DeviceEventHandler::OnBluetoothNotification(std::span<const uint8_t> data) {
  if (data.empty()) {
    Trace("datasize 0\n");
    return;
  }
  Trace("HR ");
  const auto parsed = ParseBluetoothNotification(data);
  if (!parsed) {
    std::fprintf(stderr, "Bluetooth notification of %zu bytes carries no event\n", data.size());
    return;
  }
  const DeviceEvent e = *parsed;
  host_.RunOnInterfaceThread([this, e] { HandleDeviceEvent(e); });
  Trace("dwLeft = %04x, dwRight = %04x\r\n", e.code, e.value);
}

}  // namespace ms1
