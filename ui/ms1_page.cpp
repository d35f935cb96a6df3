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
#include <QStringList>
#include <cstdio>
#include <optional>

#include "device/link_panels.h"
#include "device/messages.h"
#include "dialogs/msg_wnd.h"
#include "keys/key_names.h"
#include "macro/macro_editor_window.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/text_field.h"
#include "platform/folders.h"
#include "platform/language.h"
#include "platform/list_entry.h"
#include "platform/notification_pump.h"
#include "platform/resource_text.h"
#include "platform/ring_progress.h"
#include "platform/system_mouse_settings.h"
#include "ui/button_commands.h"
#include "ui/button_text.h"
#include "ui/page_color_commands.h"
#include "ui/page_settings_view.h"
#include "ui/page_window_bridge.h"
#include "ui/profile_list_commands.h"

namespace ms1 {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Shown once the window is up, not in the middle of its start-up or a save.
void PostWarning(PageHost& host, const QString& text_key, const std::vector<std::string>& args) {
  host.Messages().PostWork([&host, text_key, args] {
    QStringList texts;
    for (const std::string& arg : args) texts << QString::fromStdString(arg);
    ShowMessageBox(host.HostWindow(), QStringLiteral("warning_title_text"), text_key, true, texts);
  });
}

std::string HolderText(const std::filesystem::path& data_folder) {
  const std::optional<LockHolder> holder = DataFolderLock::HolderOf(data_folder);
  if (!holder) return Lan().Text(QStringLiteral("data_folder_holder_unknown_text")).toStdString();
  return Lan()
      .Text(QStringLiteral("data_folder_holder_text"))
      .arg(QString::fromStdString(holder->command), QString::number(holder->pid))
      .toStdString();
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

CMS_1_Page::CMS_1_Page(PageFolders folders)
    : folders_(std::move(folders)), folder_owner_(folders_.data) {}

CMS_1_Page::~CMS_1_Page() {
  ShutDownLinks();
}

void CMS_1_Page::ShutDownLinks() {
  if (hidraw_notifier_ != nullptr) hidraw_notifier_->setEnabled(false);
  delete hidraw_notifier_;
  hidraw_notifier_ = nullptr;
  // An edit still in its debounce is saved by the session's end.
  apply_debounce_.stop();
  if (device_) device_->Stop();
}

void CMS_1_Page::Init(PageHost& host) {
  host_ = &host;
  c_ = BindPageControls(host);
  bridge_ = std::make_unique<PageWindowBridge>(host, c_.apply_ring, c_.unsent_label);
  SetShown(c_.apply_ring, false);
  // The profile keeps its move-mode flag, but the mouse has no such setting:
  // a box that changes nothing on the mouse is not offered.
  SetShown(c_.move_mode, false);
  // Every save, of either store and from any thread, tells the window how it went.
  stores_ = std::make_unique<DataFolderStores>(folders_.data, [&host](const StoreSaveResult& r) {
    host.Messages().Post(msg::kStoreSaveResult, r.saved ? 1 : 0, static_cast<intptr_t>(r.store),
                         QString::fromStdString(r.error));
  });
  device_ = std::make_unique<DeviceSession>(
      DeviceSession::Ends{view(), *bridge_, *bridge_, *stores_, /*save_on_request=*/true});
  apply_debounce_.setSingleShot(true);
  QObject::connect(&apply_debounce_, &QTimer::timeout, &apply_debounce_,
                   [this] { device_->RequestApply(); });
  device_->Start(folders_.drivers, host.Messages().Handle());
  profile_commands_ = std::make_unique<ProfileListCommands>(
      ProfileListCommands::Page{device_->model(), *stores_, c_.profile_list, host.HostWindow(),
                                [this](int index) { SelectProfile(index); }});
  remote_ = std::make_unique<PageRemote>(*device_, *profile_commands_, *stores_);
  color_commands_ = std::make_unique<PageColorCommands>(
      PageColorCommands::Page{device_->model(), host.HostWindow(), [this] { RequestApply(); }});
  buttons_ = std::make_unique<ButtonCommands>(host.HostWindow(), host.Messages(), device_->model());
}

void CMS_1_Page::LoadProfileList() {
  OwnDataFolder();
  const StoreAccess access =
      folder_owner_.owned() ? StoreAccess::kReadWrite : StoreAccess::kReadOnly;
  const std::u16string add_text = Lan().Text(QStringLiteral("add_profile_text")).toStdU16String();
  std::vector<StoreLoad> loads;
  const int selected = device_->model().With([&](PageState& s) {
    s.force_full_apply = true;
    s.profiles.clear();
    s.macros.clear();
    int32_t index = 0;
    loads.push_back(stores_->LoadProfiles(s.profiles, index, add_text, access));
    loads.push_back(stores_->LoadMacros(s.macros, access));
    s.selected = index;
    if (c_.profile_list != nullptr) {
      const QSignalBlocker quiet(c_.profile_list);
      c_.profile_list->clear();
      for (const auto& profile : s.profiles) {
        AddListEntry(c_.profile_list, QString::fromStdU16String(profile.Name()));
      }
    }
    return index;
  });
  // Only an edit makes the next save worth writing.
  const bool unsent_marked = stores_->UnsentEditsMarked();
  if (loads.front().ok()) device_->model().RememberLoaded(unsent_marked);
  if (c_.profile_list != nullptr) {
    const QSignalBlocker quiet(c_.profile_list);
    c_.profile_list->setCurrentRow(selected);
  }
  device_->OnBluetoothLink(device_->links().bleConnected.load() != 0);
  RefreshPage();
  WatchBluetoothNodes();
  TellLoadProblems(loads);
  // What the last run could not send, the mouse gets now.
  if (unsent_marked && device_->links().AnyLinkOpen()) {
    device_->SendWhatWaits();
  }
}

void CMS_1_Page::OwnDataFolder() {
  // A command of ms1ctl may be writing the store this very moment; it ends soon.
  constexpr std::chrono::seconds kCommandEnds{3};
  folder_owner_.OnKeptAside([host = host_](const std::filesystem::path& store,
                                           const std::filesystem::path& aside) {
    PostWarning(*host, QStringLiteral("store_changed_kept_text"), {store.string(), aside.string()});
  });
  std::string error;
  const auto result = folder_owner_.Take(kCommandEnds, error);
  if (result == DataFolderLock::Result::kBusy) {
    std::fprintf(stderr, "the data folder %s is held by another process\n", folders_.data.c_str());
    PostWarning(*host_, QStringLiteral("data_folder_held_text"),
                {folders_.data.string(), HolderText(folders_.data)});
  } else if (result == DataFolderLock::Result::kUnavailable) {
    std::fprintf(stderr, "the data folder cannot be locked: %s\n", error.c_str());
  }
}

void CMS_1_Page::TellLoadProblems(const std::vector<StoreLoad>& loads) {
  const StoreLoadNotice notice = NoticeOf(loads);
  if (notice.text_key.empty()) return;
  PostWarning(*host_, QString::fromStdString(notice.text_key), notice.args);
}

void CMS_1_Page::WatchBluetoothNodes() {
  if (hidraw_notifier_ != nullptr) return;  // one watch for the page's life
  const int fd = device_->WatchBluetoothNodes();
  if (fd < 0) return;
  hidraw_notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read);
  QObject::connect(hidraw_notifier_, &QSocketNotifier::activated, hidraw_notifier_,
                   [this] { device_->OnBluetoothNodes(); });
}

bool CMS_1_Page::HasCurrentProfile() const {
  return device_->model().With([](const PageState& s) { return s.Current() != nullptr; });
}

int32_t CMS_1_Page::ActiveLightEffect() const {
  return device_->model().With([](const PageState& s) {
    const ProfileRecord* p = s.Current();
    return p == nullptr ? 0 : ModeOf(*p, ActiveModeIndex(*p)).light_effect;
  });
}

void CMS_1_Page::RefreshPage() {
  if (!HasCurrentProfile()) return;
  RefreshLinkPanels(device_->links(), *this);
  struct Shown {
    int active_mode;
    ModeRecord mode;
  };
  const auto shown = device_->model().With([](const PageState& s) {
    const ProfileRecord& p = *s.Current();
    return std::make_unique<Shown>(Shown{p.active_mode, ModeOf(p, ActiveModeIndex(p))});
  });
  ShowModeSettings(c_, shown->active_mode, shown->mode);
  ShowButtonTexts(shown->mode);
}

void CMS_1_Page::ShowButtonTexts(const ModeRecord& mode, int only) {
  // All captions name their keys on one reading of the layout, taken only
  // when some button is a shortcut.
  std::optional<KeyNamesNow> key_names;
  const KeyNamer name_key = [&key_names](uint8_t usage) {
    if (!key_names) key_names.emplace();
    return key_names->UsageDisplayName(usage);
  };
  for (int i = 0; i < kPageKeyCount; ++i) {
    if (only < 0 || i == only) {
      ShowButtonText(c_.key_buttons[i], ButtonTextOf(ButtonOf(mode, i), name_key));
    }
  }
}

std::unique_ptr<ModeRecord> CMS_1_Page::ShownMode() {
  return device_->model().With([](const PageState& s) -> std::unique_ptr<ModeRecord> {
    const ProfileRecord* p = s.Current();
    if (p == nullptr) return nullptr;
    return std::make_unique<ModeRecord>(ModeOf(*p, ActiveModeIndex(*p)));
  });
}

void CMS_1_Page::RefreshButtonTexts() {
  if (const auto mode = ShownMode()) ShowButtonTexts(*mode);
}

// The editor works on a copy of the macro list, so that the page's state stays
// whole, and behind its lock, for as long as the editor's modal loop runs.
void CMS_1_Page::OpenMacroEditor() {
  MacroList macros =
      device_->model().With([](const PageState& s) { return CopyMacroList(s.macros); });
  std::vector<MacroRename> renames;
  {
    CMS_1_Macro editor(host_->HostWindow());
    editor.macros = &macros;
    editor.store = stores_.get();
    editor.hook = host_->HookTable();
    editor.file_folder = folders_.data;
    editor.Create();
    editor.CenterWindow();
    editor.ShowModal();
    renames = editor.Renames();
  }
  const bool current_touched = device_->model().With([&macros, &renames](PageState& s) {
    s.macros = std::move(macros);
    return ResyncAssignedMacros(s.profiles, s.macros, s.Current(), renames);
  });
  if (!current_touched) return;
  RefreshButtonTexts();
  RequestApply();
}

void CMS_1_Page::UpdateButtonText(int button) {
  if (button < 0 || button >= kPageKeyCount) return;
  if (const auto mode = ShownMode()) ShowButtonTexts(*mode, button);
}

// ---------------------------------------------------------------- LinkView

void CMS_1_Page::ShowLinkIcon(ConnectionMode link, bool visible) {
  switch (link) {
    case ConnectionMode::kWired:
      SetShown(c_.wired_icon, visible);
      break;
    case ConnectionMode::kReceiver:
      SetShown(c_.receiver_icon, visible);
      break;
    case ConnectionMode::kBluetooth:
      SetShown(c_.bluetooth_icon, visible);
      break;
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

void CMS_1_Page::ShowBatteryLevel(int percent) {
  if (host_ != nullptr) host_->ShowBatteryLevel(percent);
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
  if (n.Is(notify::kClick))
    OnClick(n);
  else if (n.Is(notify::kSelectChanged))
    OnSelectChanged(n);
  else if (n.Is(notify::kItemSelect))
    OnItemSelect(n);
  else if (n.Is(notify::kCheckClick))
    OnCheckClick(n);
  else if (n.Is(notify::kValueChanged))
    OnValueChanged(n);
  else if (n.Is(notify::kTimer))
    OnTimer(n);
}

void CMS_1_Page::OnSelectChanged(const Notification& n) {
  if (!HasCurrentProfile()) return;
  if (const int mode = IndexIn(c_.mode_options, n.control); mode >= 0) {
    device_->model().With([mode](PageState& s) { s.Current()->active_mode = mode; });
    RefreshPage();
    RequestApply();
  } else if (const int level = IndexIn(c_.dpi_options, n.control); level >= 0) {
    SetShared(SharedSetting::kDpiLevel, level);
    RequestApply();
  } else if (const int rate = IndexIn(c_.polling_rates, n.control); rate >= 0) {
    SetShared(SharedSetting::kPollingRate, rate);
    RequestApply();
  }
}

void CMS_1_Page::OnItemSelect(const Notification& n) {
  if (!HasCurrentProfile()) return;
  if (n.control == c_.light_effect && c_.light_effect != nullptr) {
    SetShared(SharedSetting::kLightEffect, static_cast<int32_t>(n.param));
    UpdateLightingRows(c_, static_cast<int32_t>(n.param));
    RequestApplyAfter(period::kDebounceLighting);
  } else if (n.control == c_.profile_list && c_.profile_list != nullptr) {
    SelectProfile(static_cast<int>(n.param));
  }
}

void CMS_1_Page::SelectProfile(int index) {
  const bool valid = device_->model().With([index](PageState& s) {
    if (index < 0 || index >= static_cast<int>(s.profiles.size())) return false;
    s.selected = index;
    return true;
  });
  if (!valid) return;
  RefreshPage();
  device_->model().With([](PageState& s) { s.force_full_apply = true; });
  RequestApply();
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
    RequestApply();
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
  RequestApplyAfter(period::kDebounceSlider);
}

void CMS_1_Page::OnClick(const Notification& n) {
  if (profile_commands_->OnClick(c_, n.control)) return;
  if (HasCurrentProfile() && color_commands_->OnClick(c_, n.control)) return;
  if (const int button = IndexIn(c_.key_buttons, n.control); button >= 0) {
    if (HasCurrentProfile()) buttons_->OpenMenu(button, *c_.key_buttons[button]);
  } else if (c_.apply != nullptr && n.control == c_.apply) {
    RequestApply();
  } else if (c_.macro_button != nullptr && n.control == c_.macro_button) {
    OpenMacroEditor();
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
    device_->OnChargeTimer();
  }
}

// ---------------------------------------------------------------- links and requests

void CMS_1_Page::OnLinkMessage(const WindowMessage& m) {
  if (device_) device_->OnLinkMessage(m.message, m.wParam, m.lParam);
}

void CMS_1_Page::OnHeartbeatTimeout() {
  if (device_) device_->OnHeartbeatTimeout();
}

void CMS_1_Page::ApplyMenuFunction(const QString& itemName) {
  if (!HasCurrentProfile() || !buttons_->Apply(itemName)) return;
  RequestApply();
  UpdateButtonText(buttons_->current_button());
}

void CMS_1_Page::SetShared(SharedSetting field, int32_t value, int level) {
  device_->model().With([&](PageState& s) {
    if (ProfileRecord* p = s.Current()) SetSharedSetting(*p, field, value, level);
  });
}

RemoteOutcome CMS_1_Page::RunRemote(const RemoteCall& call) {
  if (!remote_) return DevicePage::RunRemote(call);
  return remote_->Run(call);
}

void CMS_1_Page::RequestApply() {
  device_->RequestApply();
}

void CMS_1_Page::RequestApplyAfter(std::chrono::milliseconds period) {
  apply_debounce_.start(period);
}

}  // namespace ms1
