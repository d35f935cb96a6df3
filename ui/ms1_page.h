// The device page of the MS_1: binds the profile list and the settings panels
// of the main layout and shows the current profile in them; what a control
// changes goes into the page model, and reaches the mouse through the device
// session. The link view, the data folder with its stores and the commands
// beside the list and on the buttons are units of their own; the page owns
// them, and the main window hosts it.
#pragma once

#include <QString>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "device/device_session.h"
#include "device/link_state.h"
#include "device/page_model.h"
#include "model/profile.h"
#include "ui/device_page.h"
#include "ui/page_controls.h"
#include "ui/page_remote.h"

class QSocketNotifier;

namespace ms1 {

class ButtonCommands;
class PageColorCommands;
class PageDataFolder;
class PageLinkView;
class PageWindowBridge;
class ProfileListCommands;

// Where the page finds its driver libraries and keeps its stores.
struct PageFolders {
  std::string drivers;  // ends with '/'
  std::filesystem::path data;
  static PageFolders OfProgram();  // the program folder and its data folder
};

class CMS_1_Page final : public DevicePage {
 public:
  explicit CMS_1_Page(PageFolders folders = PageFolders::OfProgram());
  // Closes the drivers, lets the worker finish, then unloads the drivers.
  ~CMS_1_Page() override;

  void Init(PageHost& host) override;
  void LoadProfileList() override;
  bool DevicePresent() const override {
    return device_ && device_->links().devicePresent.load() != 0;
  }
  bool DeviceNotAllowed() const override {
    return device_ && device_->drivers().OpenNotAllowed();
  }
  void Notify(const Notification& notification) override;
  void OnLinkMessage(const WindowMessage& posted) override;
  void OnHeartbeatTimeout() override;
  void ApplyMenuFunction(const QString& itemName) override;
  LiveState Live() const override { return remote_ ? remote_->Live() : LiveState{}; }
  RemoteOutcome RunRemote(const RemoteCall& call) override;
  std::string DataFolderPath() const override { return folders_.data.string(); }

  // Rewrites every settings control from the current profile.
  void RefreshPage();

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
  // Notification handlers.
  void OnSelectChanged(const Notification& notification);
  void OnItemSelect(const Notification& notification);
  void OnCheckClick(const Notification& notification);
  void OnValueChanged(const Notification& notification);
  void OnClick(const Notification& notification);
  void OnTimer(const Notification& notification);

  // The list's entries: one per profile of the model, the selected one marked.
  void ShowProfileList();
  void SelectProfile(int index);
  // Captions of all key buttons, or only of button `only`.
  void ShowButtonTexts(const ModeRecord& mode, int only = -1);
  // The mode record the page shows; none without a profile.
  std::unique_ptr<ModeRecord> ShownMode();
  void RefreshButtonTexts();
  // Rewrites one key button's caption from the current profile.
  void UpdateButtonText(int button);
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

  PageFolders folders_;
  PageHost* host_ = nullptr;
  PageControls controls_;
  std::unique_ptr<PageLinkView> link_view_;
  std::unique_ptr<PageWindowBridge> bridge_;
  std::unique_ptr<PageDataFolder> data_folder_;
  std::unique_ptr<DeviceSession> device_;
  QTimer apply_debounce_;
  std::unique_ptr<ProfileListCommands> profile_commands_;
  std::unique_ptr<PageRemote> remote_;
  std::unique_ptr<PageColorCommands> color_commands_;
  std::unique_ptr<ButtonCommands> buttons_;
  QSocketNotifier* hidraw_notifier_ = nullptr;
};

}  // namespace ms1
