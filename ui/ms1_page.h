// The device page of the MS_1: the profile list and the settings panels on the
// main layout, the links to the mouse, its events, and the worker that sends
// the settings. It owns the page's state; the main window hosts it.
#pragma once

#include <QString>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/device_session.h"
#include "device/link_state.h"
#include "device/link_view.h"
#include "device/page_model.h"
#include "model/data_folder_owner.h"
#include "model/data_folder_stores.h"
#include "model/profile.h"
#include "model/store_file.h"
#include "ui/button_commands.h"
#include "ui/device_page.h"
#include "ui/page_controls.h"
#include "ui/page_remote.h"

class QSocketNotifier;

namespace ms1 {

class PageColorCommands;
class PageWindowBridge;
class ProfileListCommands;

// Where the page finds its driver libraries and keeps its stores.
struct PageFolders {
  std::string drivers;  // ends with '/'
  std::filesystem::path data;
  static PageFolders OfProgram();  // the program folder and its data folder
};

class CMS_1_Page final : public DevicePage, private LinkView {
 public:
  explicit CMS_1_Page(PageFolders folders = PageFolders::OfProgram());
  // Closes the drivers, lets the worker finish, then unloads the drivers.
  ~CMS_1_Page() override;

  void Init(PageHost& host) override;
  void LoadProfileList() override;
  bool DevicePresent() const override {
    return device_ && device_->links().devicePresent.load() != 0;
  }
  bool DeviceNotAllowed() const override { return device_ && device_->drivers().OpenNotAllowed(); }
  void Notify(const Notification& n) override;
  void OnLinkMessage(const WindowMessage& m) override;
  void OnHeartbeatTimeout() override;
  void ApplyMenuFunction(const QString& itemName) override;
  LiveState Live() const override { return remote_ ? remote_->Live() : LiveState{}; }
  RemoteOutcome RunRemote(const RemoteCall& call) override;
  std::string DataFolderPath() const override { return folders_.data.string(); }

  // Rewrites every settings control from the current profile.
  void RefreshPage() override;

  // Runs the macro editor on the macro list; afterwards every profile's macro
  // buttons follow the macros as they are now, and when that changed the
  // current profile, its captions are rewritten and an apply is requested.
  void OpenMacroEditor();

  // Observers for tests; valid from Init on.
  const LinkState& links() const { return device_->links(); }
  PageModel& model() { return device_->model(); }
  // Restarted by each edit of a slider or the lighting effect; its expiry
  // requests the apply.
  QTimer& apply_debounce() { return apply_debounce_; }

 private:
  // LinkView
  void ShowLinkIcon(ConnectionMode link, bool visible) override;
  void ShowSleepLabel(bool visible) override;
  void ShowLightingControls() override;
  void ShowPollingRateToggle(bool visible) override;
  void ShowPowerToggle(bool visible) override;
  void ShowPowerPanel(bool visible) override;
  void SetPowerRing(int value) override;
  void SetChargeSweep(int value) override;
  void SetPowerLabelKey(std::string_view language_key) override;
  void SetPowerLabelText(std::string_view text) override;
  void ShowBatteryLevel(int percent) override;
  void StartChargeAnimationTimer() override;
  void StopChargeAnimationTimer() override;
  void SelectDpiLevelOption(int level) override;
  void SelectModeOptionNotifying(int mode) override;

  // Notification handlers.
  void OnSelectChanged(const Notification& n);
  void OnItemSelect(const Notification& n);
  void OnCheckClick(const Notification& n);
  void OnValueChanged(const Notification& n);
  void OnClick(const Notification& n);
  void OnTimer(const Notification& n);

  void SelectProfile(int index);
  // Captions of all key buttons, or only of button `only`.
  void ShowButtonTexts(const ModeRecord& mode, int only = -1);
  // The mode record the page shows; none without a profile.
  std::unique_ptr<ModeRecord> ShownMode();
  void RefreshButtonTexts();
  // Rewrites one key button's caption from the current profile.
  void UpdateButtonText(int button);
  // The running program owns its data folder for its whole life; when another
  // process holds it, the user hears by whom and nothing is saved until it is free.
  void OwnDataFolder();
  // Problems met while loading the stores, shown to the user once.
  void TellLoadProblems(const std::vector<StoreLoad>& loads);
  void WatchBluetoothNodes();
  bool HasCurrentProfile() const;
  int32_t ActiveLightEffect() const;
  // Writes one setting into all five mode records of the current profile.
  void SetShared(SharedSetting field, int32_t value, int level = 0);
  // Edits that are sent at once.
  void RequestApply();
  // Edits that come in runs: the apply follows once they rest for `period`.
  void RequestApplyAfter(std::chrono::milliseconds period);
  void ShutDownLinks();
  LinkView& view() { return *this; }

  PageFolders folders_;
  DataFolderOwner folder_owner_;
  PageHost* host_ = nullptr;
  PageControls c_;
  std::unique_ptr<PageWindowBridge> bridge_;
  std::unique_ptr<DataFolderStores> stores_;
  std::unique_ptr<DeviceSession> device_;
  QTimer apply_debounce_;
  std::unique_ptr<ProfileListCommands> profile_commands_;
  std::unique_ptr<PageRemote> remote_;
  std::unique_ptr<PageColorCommands> color_commands_;
  std::unique_ptr<ButtonCommands> buttons_;
  QSocketNotifier* hidraw_notifier_ = nullptr;
};

}  // namespace ms1
