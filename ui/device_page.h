// Where the device page plugs into the main window. The page owns the model
// state, the driver bindings, the links and the worker thread; the main window
// hosts it, hands it the messages and notifications that are its business, and
// gives it what it needs from the window through PageHost.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "device/driver/input_hook_table.h"
#include "platform/notification.h"
#include "platform/window_messages.h"
#include "ui/remote_commands.h"

class QWidget;

namespace ms1 {

class NotificationPump;

// What the main window offers the page.
class PageHost {
 public:
  virtual ~PageHost() = default;
  // The main window: owner of the page's dialogs.
  virtual QWidget* HostWindow() = 0;
  // A control of the main layout, or null.
  virtual QWidget* FindControl(const QString& name) const = 0;
  // Control timers ("timer" notifications, e.g. the charging animation).
  virtual NotificationPump* ControlTimers() = 0;
  // Posting to the main window from any thread, window timers by id (the
  // heartbeat 100) and the handle for the driver libraries.
  virtual WindowMessages& Messages() = 0;
  // The input hook entry points, for the macro editor and the shortcut dialog.
  // The address is fixed from Init on; the entries are filled in later in the
  // window's start-up and become null again when the window is destroyed.
  virtual const InputHookTable* HookTable() const = 0;
  // The mouse's battery level, for the tray icon's tooltip; none when no
  // mouse is there to report one.
  virtual void ShowBatteryLevel(std::optional<int> percent) = 0;
};

class DevicePage {
 public:
  virtual ~DevicePage() = default;  // closes the drivers, stops the worker, unloads

  // Binds the controls, starts the worker, loads the drivers and detects the
  // links; ends by posting msg::kDevicePresence.
  virtual void Init(PageHost& host) = 0;
  // Loads the profile and macro stores and shows the first profile; completes
  // the Bluetooth start-up and the device-change watch.
  virtual void LoadProfileList() = 0;

  virtual bool DevicePresent() const = 0;
  // No link is usable because a mouse node may not be opened by this user.
  virtual bool DeviceNotAllowed() const { return false; }

  // Notifications of the page's controls (names starting with "ms_1_").
  virtual void Notify(const Notification& n) = 0;
  // A driver library's plug or data message (msg::IsLinkMessage).
  virtual void OnLinkMessage(const WindowMessage& m) = 0;
  // timer::kReceiverHeartbeat expired.
  virtual void OnHeartbeatTimeout() = 0;
  // A chosen button-assignment menu item ("ms_1_...").
  virtual void ApplyMenuFunction(const QString& itemName) = 0;

  // For the program's bus service: what the page holds now, and a command
  // of the profile list or macro store run as the page's own is.
  virtual LiveState Live() const { return {}; }
  // The folder of the stores; empty without one.
  virtual std::string DataFolderPath() const { return {}; }
  virtual RemoteOutcome RunRemote(const RemoteCall&) {
    return RemoteOutcome::Refused(RemoteOutcome::Kind::kRefused, "no mouse page in this program");
  }
};

using DevicePageFactory = std::function<std::unique_ptr<DevicePage>()>;

}  // namespace ms1
