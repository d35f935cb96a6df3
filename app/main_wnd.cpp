#include "app/main_wnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QIcon>
#include <QMenu>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <algorithm>
#include <cstdio>

#include "app/bus_service.h"
#include "app/instance.h"
#include "device/messages.h"
#include "dialogs/msg_wnd.h"
#include "model/protocol/dpi_steps.h"
#include "model/unsent_edits_mark.h"
#include "platform/autostart.h"
#include "platform/language.h"
#include "platform/menu_xml.h"
#include "platform/skin.h"
#include "ui/dpi_msg.h"

namespace ms1 {
namespace {

constexpr int kTrayMenuLift = 58;  // the tray menu opens this far above the cursor

bool SameName(const QString& name, const char* expected) {
  return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString DpiIndicatorText(uintptr_t wParam, intptr_t rawValue) {
  QString text = QStringLiteral("DPI :");
  if (wParam <= 2) text += QString::number(DisplayedDpi(rawValue));
  return text;
}

CMainWnd::CMainWnd(std::unique_ptr<DevicePage> page, std::string programFolder)
    : quit([] { QCoreApplication::quit(); }),
      program_folder_(std::move(programFolder)),
      page_(std::move(page)),
      messages_([this](const WindowMessage& posted) { return HandleCustomMessage(posted); }) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowSystemMenuHint);
}

CMainWnd::~CMainWnd() {
  // A window that was never destroyed still releases the hook library before
  // the page goes, as DestroyWindow would have.
  hook_.Unload();
  // The page goes first (drivers closed, worker joined), then the tray icon.
  if (pump() != nullptr) pump()->Silence();
  bus_.reset();
  page_.reset();
  tray_menu_.reset();
  tray_.reset();
  CloseDpiIndicator();
}

QString CMainWnd::WindowClassName() const {
  return QString::fromLatin1(kInstanceName);
}

void CMainWnd::InitWindow() {
  if (page_) {
    page_->Init(*this);
  } else {
    // Without a page there is no device: follow that like the page would.
    messages_.Post(msg::kDevicePresence);
  }
  low_battery_.SetEnabled(StoreFolderPath().empty() || !LowBatteryNoticesOff(StoreFolderPath()));
  const QIcon icon(SkinFile(QStringLiteral("images/logo.svg")));
  setWindowIcon(icon);
  const QString title = Lan().Text(QStringLiteral("mouse_name_text"));
  CreateTrayIcon(title);
  device_tab_switch_ = SkinWindow::FindControl<QStackedWidget>(QStringLiteral("device_tab_switch"));
  setWindowTitle(title);
  // There is one skin: nothing to choose.
  if (auto* skin = FindControl(QStringLiteral("skin_btn"))) skin->hide();
  // Without it the window works as before; only input capture is missing.
  hook_.Load(program_folder_);
  if (page_) page_->LoadProfileList();
}

void CMainWnd::CreateTrayIcon(const QString& title) {
  tray_ = std::make_unique<QSystemTrayIcon>(windowIcon());
  tray_->setToolTip(title);
  QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::Trigger) {
                       messages_.Post(msg::kTrayCallback, 0, sysmsg::kLeftButtonUp);
                     } else if (reason == QSystemTrayIcon::Context) {
                       messages_.Post(msg::kTrayCallback, 0, sysmsg::kRightButtonUp);
                     }
                   });
  // Where the desktop has no tray the window stays reachable by itself.
  tray_->show();
}

void CMainWnd::Notify(const Notification& notification) {
  if (notification.sender.startsWith(QLatin1String("ms_1_"))) {
    if (page_) page_->Notify(notification);
    if (bus_) bus_->Refresh();
    return;
  }
  if (notification.Is(notify::kClick)) OnClick(notification);
}

std::string CMainWnd::StoreFolderPath() const {
  return page_ ? page_->DataFolderPath() : std::string();
}

void CMainWnd::StartBusService() {
  if (bus_ || destroyed_) return;
  BusService::Program program;
  program.live = [this] { return page_ ? page_->Live() : LiveState{}; };
  program.run = [this](const RemoteCall& call) {
    if (page_) return page_->RunRemote(call);
    return RemoteOutcome::Refused(RemoteOutcome::Kind::kRefused, "no mouse page in this program");
  };
  program.bring_forward = [this] { messages_.Post(msg::kShowInstance); };
  program.waiting_for_user = [] { return QApplication::activeModalWidget() != nullptr; };
  program.data_folder = QString::fromStdString(StoreFolderPath());
  bus_ = std::make_unique<BusService>(std::move(program));
  if (!bus_->Start(QDBusConnection::sessionBus())) {
    bus_.reset();
    return;
  }
  messages_.SetAfterDelivery([this] {
    if (bus_) bus_->Refresh();
  });
}

void CMainWnd::OnClick(const Notification& notification) {
  if (notification.From(QStringLiteral("exit_btn"))) {
    DestroyWindow();
  } else if (notification.From(QStringLiteral("min_btn"))) {
    showMinimized();
  } else if (notification.From(QStringLiteral("main_menu_btn"))) {
    if (const QWidget* button = FindControl(QStringLiteral("main_menu_btn"))) {
      OpenProgramMenu(button->mapToGlobal(QPoint(0, button->height())));
    }
  }
}

void CMainWnd::closeEvent(QCloseEvent* event) {
  event->accept();
  DestroyWindow();
}

bool CMainWnd::HandleCustomMessage(const WindowMessage& posted) {
  switch (posted.message) {
    case msg::kTrayCallback:
      OnTrayCallback(posted.lParam);
      return true;
    case msg::kMenuClick:
      OnMenuCommand(posted.text);
      return true;
    case msg::kShowInstance:
      ShowWindowOrWarn();
      return true;
    case msg::kDevicePresence:
      OnDevicePresence();
      return true;
    case msg::kShowDpi:
      ShowDpi(posted.wParam, posted.lParam);
      return true;
    case msg::kReceiverEvent:
    case msg::kReceiverPlug:
    case msg::kWiredEvent:
    case msg::kWiredPlug:
      if (page_) page_->OnLinkMessage(posted);
      return true;
    case msg::kStoreSaveResult:
      OnStoreSaveResult(static_cast<StoreKind>(posted.lParam), posted.wParam != 0, posted.text);
      return true;
    case sysmsg::kTimer:
      return OnTimer(static_cast<int>(posted.wParam));
    case msg::kHookEvent:
      return true;
    default:
      return std::ranges::find(msg::kIgnored, posted.message) != std::end(msg::kIgnored);
  }
}

bool CMainWnd::OnTimer(int id) {
  switch (id) {
    case timer::kDpiIndicator:
      messages_.KillTimer(id);
      CloseDpiIndicator();
      break;
    case timer::kReceiverHeartbeat:
      messages_.KillTimer(id);
      if (page_) page_->OnHeartbeatTimeout();
      break;
    default:
      break;
  }
  return false;
}

void CMainWnd::OnTrayCallback(intptr_t mouseMessage) {
  if (mouseMessage == static_cast<intptr_t>(sysmsg::kLeftButtonUp)) {
    ShowWindowOrWarn();
  } else if (mouseMessage == static_cast<intptr_t>(sysmsg::kRightButtonUp)) {
    OpenTrayMenu();
  }
}

void CMainWnd::OpenTrayMenu() {
  OpenProgramMenu(QCursor::pos() - QPoint(0, kTrayMenuLift));
}

void CMainWnd::OpenProgramMenu(QPoint at) {
  // One menu at a time: a new click replaces the old one.
  tray_menu_.reset();
  tray_menu_ = BuildMenu(QStringLiteral("traymenu.xml"), [this](const QString& name) {
    messages_.Post(msg::kMenuClick, 0, 0, name);
  });
  if (!tray_menu_) return;
  if (auto* autostart = tray_menu_->findChild<QAction*>(QStringLiteral("autostart")))
    autostart->setChecked(AutostartEnabled(AutostartFile()));
  if (auto* notices = tray_menu_->findChild<QAction*>(QStringLiteral("low_battery_notices")))
    notices->setChecked(low_battery_.enabled());
  tray_menu_->popup(at);
}

void CMainWnd::OnMenuCommand(const QString& name) {
  if (SameName(name, "configuration")) {
    ShowWindowOrWarn();
  } else if (SameName(name, "exit")) {
    DestroyWindow();
  } else if (SameName(name, "autostart")) {
    ToggleAutostart();
  } else if (SameName(name, "low_battery_notices")) {
    ToggleLowBatteryNotices();
  } else if (name.startsWith(QLatin1String("ms_1"), Qt::CaseInsensitive)) {
    // Only items of the page's own menus; a short or empty name is no item.
    if (page_) page_->ApplyMenuFunction(name);
  }
}

void CMainWnd::ToggleAutostart() {
  const std::filesystem::path entry = AutostartFile();
  SetAutostart(entry, !AutostartEnabled(entry),
               QCoreApplication::applicationFilePath().toStdString());
}

void CMainWnd::ToggleLowBatteryNotices() {
  std::string error;
  if (StoreFolderPath().empty()) return;
  if (SetLowBatteryNoticesOff(StoreFolderPath(), low_battery_.enabled(), error)) {
    low_battery_.SetEnabled(!low_battery_.enabled());
  } else {
    std::fprintf(stderr, "ms1-config: cannot keep the choice: %s\n", error.c_str());
  }
}

void CMainWnd::ShowWindowOrWarn() {
  if (!device_present_) {
    ShowNoDeviceWarning();
    return;
  }
  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void CMainWnd::ShowNoDeviceWarning() {
  if (warning_open_) return;
  warning_open_ = true;
  // A mouse that is there but may not be opened needs a fix, not a plug.
  const bool not_allowed = page_ != nullptr && page_->DeviceNotAllowed();
  ShowWarning(this,
              not_allowed ? QStringLiteral("no_access_text") : QStringLiteral("no_device_text"));
  warning_open_ = false;
}

void CMainWnd::ShowBatteryLevel(std::optional<int> percent) {
  low_battery_.Update(percent);
  if (!tray_) return;
  QString tip = Lan().Text(QStringLiteral("mouse_name_text"));
  if (percent) {
    tip += QStringLiteral("\n") + Lan().Text(QStringLiteral("battery_text")) +
           QStringLiteral(": %1%").arg(*percent);
  }
  tray_->setToolTip(tip);
}

void CMainWnd::OnDevicePresence() {
  device_present_ = page_ != nullptr && page_->DevicePresent();
  if (!device_present_) ShowBatteryLevel(std::nullopt);
  if (device_tab_switch_ != nullptr) {
    // The last item stands for "no item": nothing of the device page shows.
    device_tab_switch_->setCurrentIndex(device_present_ ? 0 : device_tab_switch_->count() - 1);
  }
  if (!device_present_) showMinimized();
}

void CMainWnd::ShowDpi(uintptr_t wParam, intptr_t lParam) {
  const QString text = DpiIndicatorText(wParam, lParam);
  messages_.SetTimer(timer::kDpiIndicator, static_cast<int>(period::kDpiIndicator.count()));
  if (dpi_indicator_) {
    dpi_indicator_->SetText(text);
    return;
  }
  // Without a parent: it must stay visible while this window is minimised.
  dpi_indicator_ = new CDPIMsg;
  dpi_indicator_->text = text;
  dpi_indicator_->Create();
  dpi_indicator_->show();
}

void CMainWnd::CloseDpiIndicator() {
  if (dpi_indicator_) dpi_indicator_->close();  // deletes itself
  dpi_indicator_ = nullptr;
}

void CMainWnd::OnStoreSaveResult(StoreKind store, bool saved, const QString& error) {
  const bool macros = store == StoreKind::kMacros;
  if (!(macros ? macro_store_warning_ : profile_store_warning_).ShouldWarn(saved)) return;
  if (macros) {
    ShowWarning(this, QStringLiteral("macro_store_save_failed_text"), {error});
  } else {
    ShowWarning(this, QStringLiteral("store_save_failed_text"));
  }
}

void CMainWnd::DestroyWindow() {
  if (destroyed_) return;
  destroyed_ = true;
  CloseDpiIndicator();
  hook_.Unload();
  tray_menu_.reset();
  if (tray_) tray_->hide();
  hide();
  if (quit) quit();
}

}  // namespace ms1
