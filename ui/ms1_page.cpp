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
#include <optional>
#include <vector>

#include "device/link_panels.h"
#include "device/messages.h"
#include "dialogs/msg_wnd.h"
#include "keys/key_names.h"
#include "macro/macro_editor_window.h"
#include "model/macro_store.h"
#include "platform/folders.h"
#include "platform/list_entry.h"
#include "platform/system_mouse_settings.h"
#include "ui/button_commands.h"
#include "ui/button_text.h"
#include "ui/page_color_commands.h"
#include "ui/page_data_folder.h"
#include "ui/page_link_view.h"
#include "ui/page_settings_view.h"
#include "ui/page_window_bridge.h"
#include "ui/profile_list_commands.h"

namespace ms1 {

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
  // An edit still in its debounce is saved by the session's end.
  apply_debounce_.stop();
  if (device_) device_->Stop();
}

void CMS_1_Page::Init(PageHost& host) {
  host_ = &host;
  controls_ = BindPageControls(host);
  link_view_ = std::make_unique<PageLinkView>(PageLinkView::Page{
      controls_, host, [this] { RefreshPage(); }, [this] { return ActiveLightEffect(); }});
  bridge_ = std::make_unique<PageWindowBridge>(host, controls_.apply_ring, controls_.unsent_label);
  SetShown(controls_.apply_ring, false);
  // The profile keeps its move-mode flag, but the mouse has no such setting:
  // a box that changes nothing on the mouse is not offered.
  SetShown(controls_.move_mode, false);
  data_folder_ = std::make_unique<PageDataFolder>(folders_.data, host);
  device_ = std::make_unique<DeviceSession>(DeviceSession::Ends{
      *link_view_, *bridge_, *bridge_, data_folder_->stores(), /*keeps_edits=*/true});
  apply_debounce_.setSingleShot(true);
  QObject::connect(&apply_debounce_, &QTimer::timeout, &apply_debounce_,
                   [this] { device_->RequestApply(); });
  device_->Start(folders_.drivers, host.Messages().Handle());
  profile_commands_ = std::make_unique<ProfileListCommands>(
      ProfileListCommands::Page{device_->model(), data_folder_->stores(), controls_.profile_list,
                                host.HostWindow(), [this](int index) { SelectProfile(index); }});
  remote_ = std::make_unique<PageRemote>(*device_, *profile_commands_, data_folder_->stores());
  color_commands_ = std::make_unique<PageColorCommands>(
      PageColorCommands::Page{device_->model(), host.HostWindow(), [this] { RequestApply(); }});
  buttons_ = std::make_unique<ButtonCommands>(host.HostWindow(), host.Messages(), device_->model());
}

void CMS_1_Page::LoadProfileList() {
  const bool unsent_marked = data_folder_->Load(device_->model());
  ShowProfileList();
  device_->OnBluetoothLink(device_->links().bleConnected.load() != 0);
  RefreshPage();
  WatchBluetoothNodes();
  data_folder_->TellLoadProblems();
  // What the last run could not send, the mouse gets now.
  if (unsent_marked && device_->links().AnyLinkOpen()) {
    device_->SendWhatWaits();
  }
}

void CMS_1_Page::ShowProfileList() {
  QListWidget* list = controls_.profile_list;
  if (list == nullptr) return;
  const QSignalBlocker quiet(list);
  list->clear();
  const int selected = device_->model().With([list](const PageState& state) {
    for (const ProfileSlot& profile : state.profiles) {
      AddListEntry(list, QString::fromStdU16String(profile.Name()));
    }
    return state.selected;
  });
  list->setCurrentRow(selected);
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
  return device_->model().With([](const PageState& state) { return state.Current() != nullptr; });
}

int32_t CMS_1_Page::ActiveLightEffect() const {
  return device_->model().With([](const PageState& state) {
    const ProfileRecord* profile = state.Current();
    return profile == nullptr ? 0 : ModeOf(*profile, ActiveModeIndex(*profile)).light_effect;
  });
}

void CMS_1_Page::RefreshPage() {
  if (!HasCurrentProfile()) return;
  RefreshLinkPanels(device_->links(), *link_view_);
  struct Shown {
    int active_mode;
    ModeRecord mode;
  };
  const auto shown = device_->model().With([](const PageState& state) {
    const ProfileRecord& profile = *state.Current();
    return std::make_unique<Shown>(
        Shown{profile.active_mode, ModeOf(profile, ActiveModeIndex(profile))});
  });
  ShowModeSettings(controls_, shown->active_mode, shown->mode);
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
  for (int button = 0; button < kPageKeyCount; ++button) {
    if (only < 0 || button == only) {
      ShowButtonText(controls_.key_buttons[button], ButtonTextOf(ButtonOf(mode, button), name_key));
    }
  }
}

std::unique_ptr<ModeRecord> CMS_1_Page::ShownMode() {
  return device_->model().With([](const PageState& state) -> std::unique_ptr<ModeRecord> {
    const ProfileRecord* profile = state.Current();
    if (profile == nullptr) return nullptr;
    return std::make_unique<ModeRecord>(ModeOf(*profile, ActiveModeIndex(*profile)));
  });
}

void CMS_1_Page::RefreshButtonTexts() {
  if (const auto mode = ShownMode()) ShowButtonTexts(*mode);
}

// The editor works on a copy of the macro list, so that the page's state stays
// whole, and behind its lock, for as long as the editor's modal loop runs.
void CMS_1_Page::OpenMacroEditor() {
  MacroList macros =
      device_->model().With([](const PageState& state) { return CopyMacroList(state.macros); });
  std::vector<MacroRename> renames;
  {
    CMS_1_Macro editor(host_->HostWindow());
    editor.macros = &macros;
    editor.store = &data_folder_->stores();
    editor.hook = host_->HookTable();
    editor.file_folder = folders_.data;
    editor.Create();
    editor.CenterWindow();
    editor.ShowModal();
    renames = editor.Renames();
  }
  const bool current_touched = device_->model().With([&macros, &renames](PageState& state) {
    state.macros = std::move(macros);
    return ResyncAssignedMacros(state.profiles, state.macros, state.Current(), renames);
  });
  if (!current_touched) return;
  RefreshButtonTexts();
  RequestApply();
}

void CMS_1_Page::UpdateButtonText(int button) {
  if (button < 0 || button >= kPageKeyCount) return;
  if (const auto mode = ShownMode()) ShowButtonTexts(*mode, button);
}

// ---------------------------------------------------------------- notifications

void CMS_1_Page::Notify(const Notification& notification) {
  if (notification.Is(notify::kClick))
    OnClick(notification);
  else if (notification.Is(notify::kSelectChanged))
    OnSelectChanged(notification);
  else if (notification.Is(notify::kItemSelect))
    OnItemSelect(notification);
  else if (notification.Is(notify::kCheckClick))
    OnCheckClick(notification);
  else if (notification.Is(notify::kValueChanged))
    OnValueChanged(notification);
  else if (notification.Is(notify::kTimer))
    OnTimer(notification);
}

void CMS_1_Page::OnSelectChanged(const Notification& notification) {
  if (!HasCurrentProfile()) return;
  const QWidget* option = notification.control;
  if (const int mode = IndexIn(controls_.mode_options, option); mode >= 0) {
    device_->model().With([mode](PageState& state) { state.Current()->active_mode = mode; });
    RefreshPage();
    RequestApply();
  } else if (const int level = IndexIn(controls_.dpi_options, option); level >= 0) {
    SetShared(SharedSetting::kDpiLevel, level);
    RequestApply();
  } else if (const int rate = IndexIn(controls_.polling_rates, option); rate >= 0) {
    SetShared(SharedSetting::kPollingRate, rate);
    RequestApply();
  }
}

void CMS_1_Page::OnItemSelect(const Notification& notification) {
  if (!HasCurrentProfile()) return;
  const auto item = static_cast<int32_t>(notification.param);
  if (notification.control == controls_.light_effect && controls_.light_effect != nullptr) {
    SetShared(SharedSetting::kLightEffect, item);
    UpdateLightingRows(controls_, item);
    RequestApplyAfter(period::kDebounceLighting);
  } else if (notification.control == controls_.profile_list && controls_.profile_list != nullptr) {
    SelectProfile(item);
  }
}

void CMS_1_Page::SelectProfile(int index) {
  const bool valid = device_->model().With([index](PageState& state) {
    if (index < 0 || index >= static_cast<int>(state.profiles.size())) return false;
    state.selected = index;
    return true;
  });
  if (!valid) return;
  RefreshPage();
  device_->model().With([](PageState& state) { state.force_full_apply = true; });
  RequestApply();
}

void CMS_1_Page::OnCheckClick(const Notification& notification) {
  if (!HasCurrentProfile()) return;
  for (const PageSection& section : controls_.sections) {
    if (section.check != nullptr && notification.control == section.check) {
      SetShown(section.container, section.check->isChecked());
      return;
    }
  }
  if (controls_.move_mode != nullptr && notification.control == controls_.move_mode) {
    SetShared(SharedSetting::kMoveMode, controls_.move_mode->isChecked() ? 1 : 0);
    RequestApply();
  }
}

void CMS_1_Page::OnValueChanged(const Notification& notification) {
  if (!HasCurrentProfile()) return;
  auto* slider = qobject_cast<QAbstractSlider*>(notification.control);
  if (slider == nullptr) return;
  const int32_t value = slider->value();
  if (slider == controls_.brightness) {
    SetShared(SharedSetting::kLightBrightness, value);
  } else if (slider == controls_.speed) {
    SetShared(SharedSetting::kLightSpeed, value);
  } else if (slider == controls_.sleep_timer) {
    SetShared(SharedSetting::kSleepTimer, value);
    UpdateSleepLabel(controls_, value);
  } else if (const int level = IndexIn(controls_.dpi_sliders, slider); level >= 0) {
    SetShared(SharedSetting::kDpiValue, value, level);
    if (QLabel* label = controls_.dpi_labels[level]) label->setText(DpiLabelText(value));
  } else {
    return;
  }
  RequestApplyAfter(period::kDebounceSlider);
}

void CMS_1_Page::OnClick(const Notification& notification) {
  const QWidget* control = notification.control;
  if (profile_commands_->OnClick(controls_, control)) return;
  if (HasCurrentProfile() && color_commands_->OnClick(controls_, control)) return;
  if (const int button = IndexIn(controls_.key_buttons, control); button >= 0) {
    if (HasCurrentProfile()) buttons_->OpenMenu(button, *controls_.key_buttons[button]);
  } else if (controls_.apply != nullptr && control == controls_.apply) {
    RequestApply();
  } else if (controls_.macro_button != nullptr && control == controls_.macro_button) {
    OpenMacroEditor();
  } else if (controls_.mouse_attribute != nullptr && control == controls_.mouse_attribute) {
    if (!OpenSystemMouseSettings()) {
      ShowWarning(host_->HostWindow(), QStringLiteral("no_mouse_settings_text"));
    }
  }
}

void CMS_1_Page::OnTimer(const Notification& notification) {
  if (controls_.power_ring != nullptr && notification.control == controls_.power_ring &&
      notification.param == timer::kChargeAnimation) {
    device_->OnChargeTimer();
  }
}

// ---------------------------------------------------------------- links and requests

void CMS_1_Page::OnLinkMessage(const WindowMessage& posted) {
  if (device_) device_->OnLinkMessage(posted.message, posted.wParam, posted.lParam);
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
  device_->model().With([&](PageState& state) {
    if (ProfileRecord* profile = state.Current()) SetSharedSetting(*profile, field, value, level);
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
