// The program's only top-level window: shows the main layout, hosts the device
// page, owns the tray icon and its menu and the DPI indicator, and receives
// every private message of the program.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/low_battery_notice.h"
#include "device/driver/input_hook_library.h"
#include "model/data_folder_stores.h"
#include "model/store_save_warning.h"
#include "platform/folders.h"
#include "platform/skin_form.h"
#include "platform/window_messages.h"
#include "ui/device_page.h"
#include "ui/dpi_msg.h"

class QMenu;
class QSystemTrayIcon;
class QStackedWidget;

namespace ms1 {
class BusService;
}

namespace ms1 {

class CMainWnd : public SkinWindow, public PageHost {
 public:
  // `page` may be null: the window then runs as with no device present. The
  // input hook library is loaded from `programFolder`.
  explicit CMainWnd(std::unique_ptr<DevicePage> page, std::string programFolder = ProgramFolder());
  ~CMainWnd() override;

  QString WindowClassName() const override;
  QString SkinFileName() const override { return QStringLiteral("main.xml"); }

  // Thread-safe entry for private messages.
  WindowMessages& Messages() override { return messages_; }
  bool HandleCustomMessage(const WindowMessage& posted);

  // Puts the program on the session bus (see BusService); after the window
  // is shown, as it costs the start nothing then. Without a session bus the
  // program runs as before.
  void StartBusService();
  BusService* Bus() const { return bus_.get(); }

  // Ends the window: the indicator closes, the input hook library is released,
  // the tray icon goes, the loop quits.
  void DestroyWindow();
  bool IsDestroyed() const { return destroyed_; }

  // What ends the message loop; tests replace it.
  std::function<void()> quit;

  // PageHost
  QWidget* HostWindow() override { return this; }
  QWidget* FindControl(const QString& name) const override { return SkinWindow::FindControl(name); }
  NotificationPump* ControlTimers() override { return pump(); }
  const InputHookTable* HookTable() const override { return &hook_.Table(); }

  // Observers for tests and the shell.
  CDPIMsg* DpiIndicator() const { return dpi_indicator_; }
  QMenu* TrayMenu() const { return tray_menu_.get(); }
  QSystemTrayIcon* TrayIcon() const { return tray_.get(); }
  void ShowBatteryLevel(std::optional<int> percent) override;
  bool NoDeviceWarningOpen() const { return warning_open_; }
  bool DevicePresent() const { return device_present_; }
  bool HookLoaded() const { return hook_.IsLoaded(); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& notification) override;
  void OnClick(const Notification& notification) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateTrayIcon(const QString& title);
  void OnTrayCallback(intptr_t mouseMessage);
  void OpenTrayMenu();
  // The program's menu (the tray's) at `at`, one at a time.
  void OpenProgramMenu(QPoint at);
  void OnMenuCommand(const QString& name);
  // "Start with the desktop": writes the autostart entry, or removes it.
  void ToggleAutostart();
  // "Tell me when the battery is low": remembered beside the stores.
  void ToggleLowBatteryNotices();
  // The page's data folder; empty without a page.
  std::string StoreFolderPath() const;
  void ShowWindowOrWarn();
  void ShowNoDeviceWarning();
  void OnDevicePresence();
  void ShowDpi(uintptr_t wParam, intptr_t lParam);
  void CloseDpiIndicator();
  bool OnTimer(int id);
  // Every save of a store, from the page's stores: a failure is told once,
  // and again only after that store was saved.
  void OnStoreSaveResult(StoreKind store, bool saved, const QString& error);

  std::string program_folder_;
  std::unique_ptr<DevicePage> page_;
  InputHookLibrary hook_;
  WindowMessages messages_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<QMenu> tray_menu_;
  QPointer<CDPIMsg> dpi_indicator_;
  QStackedWidget* device_tab_switch_ = nullptr;
  StoreSaveWarning profile_store_warning_;
  StoreSaveWarning macro_store_warning_;
  std::unique_ptr<BusService> bus_;
  LowBatteryNotice low_battery_{NotifyLowBattery};
  bool device_present_ = false;
  bool warning_open_ = false;
  bool destroyed_ = false;
};

// "DPI :" and the DPI of a raw value (units of 40); just "DPI :" for a wParam
// other than 0, 1 or 2.
QString DpiIndicatorText(uintptr_t wParam, intptr_t rawValue);

}  // namespace ms1
