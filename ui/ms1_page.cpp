#include "ui/ms1_page.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSocketNotifier>

#include "device/bluetooth_presence.h"
#include "device/link_panels.h"
#include "device/messages.h"
#include "device/profile_store_writer.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "platform/folders.h"
#include "platform/language.h"
#include "platform/notification_pump.h"
#include "platform/resource_text.h"
#include "platform/ring_progress.h"
#include "platform/system_mouse_settings.h"
#include "ui/button_text.h"
#include "ui/msg_wnd.h"
#include "ui/page_settings_view.h"
#include "ui/page_window_bridge.h"

namespace ms1 {
namespace {

// The Bluetooth LE link is recognised and shown; sending over it needs the
// GATT transport, which is not part of this program yet. Until then reports
// find no Bluetooth end and the other links carry them.
class NoGattTransport final : public BluetoothControl {
 public:
  void Connect(std::string_view, std::string_view) override {}
  void Disconnect() override {}
};

// Saves the store and tells the window how it went, so that a failed save is
// not lost in silence.
class ReportingStoreWriter final : public ProfileStoreWriter {
 public:
  ReportingStoreWriter(std::filesystem::path data_folder, PageHost& host)
      : writer_(std::move(data_folder)), host_(host) {}
  bool Save(const ProfileList& profiles, int selected) override {
    const bool saved = writer_.Save(profiles, selected);
    host_.Messages().Post(msg::kStoreSaveResult, saved ? 1 : 0);
    return saved;
  }

 private:
  DataFolderStoreWriter writer_;
  PageHost& host_;
};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetChecked(QAbstractButton* button, bool checked, bool notify) {
  if (button == nullptr) return;
  const QSignalBlocker quiet(notify ? nullptr : button);
  button->setChecked(checked);
}

}  // namespace

PageFolders PageFolders::OfProgram() {
  return {ProgramFolder(), DataFolder()};
}

CMS_1_Page::CMS_1_Page(PageFolders folders) : folders_(std::move(folders)) {}

CMS_1_Page::~CMS_1_Page() {
  ShutDownLinks();
}

void CMS_1_Page::ShutDownLinks() {
  if (hidraw_notifier_ != nullptr) hidraw_notifier_->setEnabled(false);
  delete hidraw_notifier_;
  hidraw_notifier_ = nullptr;
  hidraw_.reset();
  drivers_.CloseAll();
  // With the devices closed no link can carry a report: queued applies are
  // dropped and a running one ends at its next report instead of retrying.
  links_.wiredState = link_presence::kRemoved;
  links_.receiverState = link_presence::kRemoved;
  links_.bleConnected = 0;
  if (worker_) worker_->Stop();
  transport_.SetWired(nullptr);
  transport_.SetReceiver(nullptr);
  drivers_.Unload();
}

void CMS_1_Page::Init(PageHost& host) {
  host_ = &host;
  c_ = BindPageControls(host);
  bridge_ = std::make_unique<PageWindowBridge>(host, c_.apply_ring);
  SetShown(c_.apply_ring, false);
  store_ = std::make_unique<ReportingStoreWriter>(folders_.data, host);
  engine_ = std::make_unique<ApplyEngine>(model_, links_, transport_, *bridge_, *store_);
  worker_ = std::make_unique<PageWorker>(links_, [this] { engine_->ApplyConfiguration(); });
  worker_->Start();

  events_ = std::make_unique<DeviceEventHandler>(model_, links_, view(), *bridge_, *store_);
  bluetooth_ = std::make_unique<NoGattTransport>();
  manager_ = std::make_unique<ConnectionManager>(
      links_, drivers_, view(), *bridge_, pacer_, charge_, *bluetooth_,
      [this](DeviceEvent e) { events_->HandleDeviceEvent(e); }, [] { return ProbeBluetoothMouse(); });
  manager_->Start(folders_.drivers, host.Messages().Handle());
  transport_.SetWired(drivers_.wired());
  transport_.SetReceiver(drivers_.receiver());
}

void CMS_1_Page::LoadProfileList() {
  const std::u16string add_text = Lan().Text(QStringLiteral("add_profile_text")).toStdU16String();
  const int selected = model_.With([&](PageState& s) {
    s.force_full_apply = true;
    s.profiles.clear();
    s.macros.clear();
    int32_t index = 0;
    LoadProfileStore(folders_.data, add_text, s.profiles, index);
    LoadMacroStore(folders_.data, s.macros);
    s.selected = index;
    if (c_.profile_list != nullptr) {
      const QSignalBlocker quiet(c_.profile_list);
      c_.profile_list->clear();
      for (const auto& profile : s.profiles) {
        c_.profile_list->addItem(QString::fromStdU16String(FieldText(profile->name)));
      }
    }
    return index;
  });
  if (c_.profile_list != nullptr) {
    const QSignalBlocker quiet(c_.profile_list);
    c_.profile_list->setCurrentRow(selected);
  }
  if (manager_) manager_->OnBluetoothLink(links_.bleConnected.load() != 0);
  RefreshPage();
  WatchBluetoothNodes();
}

void CMS_1_Page::WatchBluetoothNodes() {
  if (hidraw_) return;  // one watch for the page's life
  hidraw_ = std::make_unique<HidrawMonitor>();
  if (!hidraw_->ok()) return;
  hidraw_notifier_ = new QSocketNotifier(hidraw_->fd(), QSocketNotifier::Read);
  QObject::connect(hidraw_notifier_, &QSocketNotifier::activated, hidraw_notifier_, [this] {
    if (const auto change = hidraw_->ReadChange()) manager_->OnBluetoothChange(*change);
  });
}

bool CMS_1_Page::HasCurrentProfile() const {
  return model_.With([](const PageState& s) { return s.Current() != nullptr; });
}

int32_t CMS_1_Page::ActiveLightEffect() const {
  return model_.With([](const PageState& s) {
    const ProfileRecord* p = s.Current();
    return p == nullptr ? 0 : ModeOf(*p, ActiveModeIndex(*p)).light_effect;
  });
}

void CMS_1_Page::RefreshPage() {
  if (!HasCurrentProfile()) return;
  RefreshLinkPanels(links_, *this);
  struct Shown {
    int active_mode;
    ModeRecord mode;
  };
  const auto shown = model_.With([](const PageState& s) {
    const ProfileRecord& p = *s.Current();
    return std::make_unique<Shown>(Shown{p.active_mode, ModeOf(p, ActiveModeIndex(p))});
  });
  ShowModeSettings(c_, shown->active_mode, shown->mode);
  for (int i = 0; i < kPageKeyCount; ++i) {
    ShowButtonText(c_.key_buttons[i], ButtonTextOf(ButtonOf(shown->mode, i), UsageNumberName));
  }
}

// ---------------------------------------------------------------- LinkView

void CMS_1_Page::ShowLinkIcon(ConnectionMode link, bool visible) {
  switch (link) {
    case ConnectionMode::kWired: SetShown(c_.wired_icon, visible); break;
    case ConnectionMode::kReceiver: SetShown(c_.receiver_icon, visible); break;
    case ConnectionMode::kBluetooth: SetShown(c_.bluetooth_icon, visible); break;
  }
}

void CMS_1_Page::ShowSleepLabel(bool visible) {
  SetShown(c_.sleep_label, visible);
}

void CMS_1_Page::ShowLightingControls() {
  SetShown(c_.light_effect, true);
  UpdateLightingRows(c_, ActiveLightEffect());
}

void CMS_1_Page::ShowPollingRateToggle(bool visible) {
  QCheckBox* check = c_.polling_rate().check;
  if (!visible) {
    if (check != nullptr && check->isChecked()) SetChecked(check, false, false);
    SetShown(c_.polling_rate().container, false);
  }
  SetShown(check, visible);
}

void CMS_1_Page::ShowPowerToggle(bool visible) {
  SetShown(c_.power().check, visible);
}

void CMS_1_Page::ShowPowerPanel(bool visible) {
  SetShown(c_.power().container, visible);
}

void CMS_1_Page::SetPowerRing(int value) {
  if (c_.power_ring == nullptr) return;
  c_.power_ring->setTextVisible(true);
  c_.power_ring->setValue(value);
}

void CMS_1_Page::SetChargeSweep(int value) {
  if (c_.power_ring == nullptr) return;
  c_.power_ring->setTextVisible(false);
  SetValueDeferred(c_.power_ring, value);  // a frame every 30 ms: no wait for the X server
}

void CMS_1_Page::SetPowerLabelKey(std::string_view language_key) {
  if (c_.power_label == nullptr) return;
  SetResourceText(c_.power_label, true);
  SetControlText(c_.power_label, ToQString(language_key));
}

void CMS_1_Page::SetPowerLabelText(std::string_view text) {
  if (c_.power_label == nullptr) return;
  SetResourceText(c_.power_label, false);
  SetControlText(c_.power_label, ToQString(text));
}

void CMS_1_Page::StartChargeAnimationTimer() {
  if (c_.power_ring != nullptr && host_->ControlTimers() != nullptr) {
    // The sweep costs nothing while nobody can see it.
    host_->ControlTimers()->SetAnimationTimer(c_.power_ring, timer::kChargeAnimation,
                                              static_cast<int>(period::kChargeAnimation.count()));
  }
}

void CMS_1_Page::StopChargeAnimationTimer() {
  if (c_.power_ring != nullptr && host_->ControlTimers() != nullptr) {
    host_->ControlTimers()->KillTimer(c_.power_ring, timer::kChargeAnimation);
  }
}

void CMS_1_Page::SelectDpiLevelOption(int level) {
  if (level >= 1 && level <= kPageDpiLevelCount) SetChecked(c_.dpi_options[level - 1], true, false);
}

void CMS_1_Page::SelectModeOptionNotifying(int mode) {
  if (mode >= 0 && mode < kPageModeOptionCount) SetChecked(c_.mode_options[mode], true, true);
}

// ---------------------------------------------------------------- notifications

void CMS_1_Page::Notify(const Notification& n) {
  if (n.Is(notify::kClick)) OnClick(n);
  else if (n.Is(notify::kSelectChanged)) OnSelectChanged(n);
  else if (n.Is(notify::kItemSelect)) OnItemSelect(n);
  else if (n.Is(notify::kCheckClick)) OnCheckClick(n);
  else if (n.Is(notify::kValueChanged)) OnValueChanged(n);
  else if (n.Is(notify::kTimer)) OnTimer(n);
}

void CMS_1_Page::OnSelectChanged(const Notification& n) {
  if (!HasCurrentProfile()) return;
  if (const int mode = IndexIn(c_.mode_options, n.control); mode >= 0) {
    model_.With([mode](PageState& s) { s.Current()->active_mode = mode; });
    RefreshPage();
    PostApplyRequest();
  } else if (const int level = IndexIn(c_.dpi_options, n.control); level >= 0) {
    SetShared(SharedSetting::kDpiLevel, level);
    PostApplyRequest();
  } else if (const int rate = IndexIn(c_.polling_rates, n.control); rate >= 0) {
    SetShared(SharedSetting::kPollingRate, rate);
    PostApplyRequest();
  }
}

void CMS_1_Page::OnItemSelect(const Notification& n) {
  if (!HasCurrentProfile()) return;
  if (n.control == c_.light_effect && c_.light_effect != nullptr) {
    SetShared(SharedSetting::kLightEffect, static_cast<int32_t>(n.param));
    UpdateLightingRows(c_, static_cast<int32_t>(n.param));
    RestartDebounce(period::kDebounceLighting);
  } else if (n.control == c_.profile_list && c_.profile_list != nullptr) {
    SelectProfile(static_cast<int>(n.param));
  }
}

void CMS_1_Page::SelectProfile(int index) {
  const bool valid = model_.With([index](PageState& s) {
    if (index < 0 || index >= static_cast<int>(s.profiles.size())) return false;
    s.selected = index;
    return true;
  });
  if (!valid) return;
  RefreshPage();
  model_.With([](PageState& s) { s.force_full_apply = true; });
  PostApplyRequest();
}

void CMS_1_Page::OnCheckClick(const Notification& n) {
  if (!HasCurrentProfile()) return;
  for (const PageSection& section : c_.sections) {
    if (section.check != nullptr && n.control == section.check) {
      SetShown(section.container, section.check->isChecked());
      return;
    }
  }
  if (c_.move_mode != nullptr && n.control == c_.move_mode) {
    SetShared(SharedSetting::kMoveMode, c_.move_mode->isChecked() ? 1 : 0);
    PostApplyRequest();
  }
}

void CMS_1_Page::OnValueChanged(const Notification& n) {
  if (!HasCurrentProfile()) return;
  auto* slider = qobject_cast<QAbstractSlider*>(n.control);
  if (slider == nullptr) return;
  const int32_t value = slider->value();
  if (slider == c_.brightness) {
    SetShared(SharedSetting::kLightBrightness, value);
  } else if (slider == c_.speed) {
    SetShared(SharedSetting::kLightSpeed, value);
  } else if (slider == c_.sleep_timer) {
    SetShared(SharedSetting::kSleepTimer, value);
    UpdateSleepLabel(c_, value);
  } else if (const int level = IndexIn(c_.dpi_sliders, slider); level >= 0) {
    SetShared(SharedSetting::kDpiValue, value, level);
    if (c_.dpi_labels[level] != nullptr) c_.dpi_labels[level]->setText(DpiLabelText(value));
  } else {
    return;
  }
  RestartDebounce(period::kDebounceSlider);
}

void CMS_1_Page::OnClick(const Notification& n) {
  if (c_.apply != nullptr && n.control == c_.apply) {
    PostApplyRequest();
  } else if (c_.mouse_attribute != nullptr && n.control == c_.mouse_attribute) {
    if (!OpenSystemMouseSettings()) {
      ShowMessageBox(host_->HostWindow(), QStringLiteral("warning_title_text"),
                     QStringLiteral("no_mouse_settings_text"), true);
    }
  }
}

void CMS_1_Page::OnTimer(const Notification& n) {
  if (c_.power_ring != nullptr && n.control == c_.power_ring &&
      n.param == timer::kChargeAnimation) {
    charge_.Tick();
  }
}

// ---------------------------------------------------------------- links and requests

void CMS_1_Page::OnLinkMessage(const WindowMessage& m) {
  if (!manager_) return;
  switch (m.message) {
    case msg::kWiredPlug: manager_->OnWiredLink(PlugEvent(m.wParam)); break;
    case msg::kWiredEvent: manager_->OnWiredLink(DataEvent(m.wParam, m.lParam)); break;
    case msg::kReceiverPlug: manager_->OnReceiverLink(PlugEvent(m.wParam)); break;
    case msg::kReceiverEvent: manager_->OnReceiverLink(DataEvent(m.wParam, m.lParam)); break;
    default: break;
  }
}

void CMS_1_Page::RequestApply(uintptr_t wParam, intptr_t lParam) {
  if (worker_) worker_->Post(TM_APPLY, wParam, lParam);
}

void CMS_1_Page::OnHeartbeatTimeout() {
  if (manager_) manager_->OnHeartbeatTimeout();
}

void CMS_1_Page::ApplyMenuFunction(const QString&) {
  // The button-assignment menus are not on the page yet.
}

void CMS_1_Page::SetShared(SharedSetting field, int32_t value, int level) {
  model_.With([&](PageState& s) {
    if (ProfileRecord* p = s.Current()) SetSharedSetting(*p, field, value, level);
  });
}

void CMS_1_Page::PostApplyRequest() {
  host_->Messages().Post(msg::kApplyRequest);
}

void CMS_1_Page::RestartDebounce(std::chrono::milliseconds period) {
  host_->Messages().KillTimer(timer::kApplyDebounce);
  host_->Messages().SetTimer(timer::kApplyDebounce, static_cast<int>(period.count()));
}

}  // namespace ms1
