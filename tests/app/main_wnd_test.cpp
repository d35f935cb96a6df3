// The main window with a recording page: message handling, tray, menus, the
// DPI indicator, the no-device warning and the store-save warning.
#include "app/main_wnd.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "device/messages.h"
#include "dialogs/msg_wnd.h"
#include "platform/folders.h"
#include "platform/language.h"
#include "support/fake_hook.h"
#include "support/qt_wait.h"
#include "support/scoped_env.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

struct PageLog {
  QStringList calls;
  std::vector<Notification> notifications;
  std::vector<WindowMessage> linkMessages;
  bool present = true;
  bool notAllowed = false;
  const InputHookTable* hookTable = nullptr;  // as given at Init
  int hooksBoundAtProfileLoad = -1;
};

// Stands in for the device page: records what the window hands it.
class RecordingPage : public DevicePage {
 public:
  explicit RecordingPage(PageLog& log) : log_(log) {}
  ~RecordingPage() override { log_.calls << QStringLiteral("destroyed"); }
  void Init(PageHost& host) override {
    log_.calls << QStringLiteral("Init");
    // The page ends its start-up by reporting presence.
    host.Messages().Post(msg::kDevicePresence);
    hasApply_ = host.FindControl(QStringLiteral("ms_1_apply_btn")) != nullptr;
    log_.hookTable = host.HookTable();
  }
  void LoadProfileList() override {
    log_.calls << QStringLiteral("LoadProfileList");
    if (log_.hookTable != nullptr)
      log_.hooksBoundAtProfileLoad = test::BoundEntryPoints(*log_.hookTable);
  }
  bool DevicePresent() const override { return log_.present; }
  bool DeviceNotAllowed() const override { return log_.notAllowed; }
  void Notify(const Notification& n) override { log_.notifications.push_back(n); }
  void OnLinkMessage(const WindowMessage& m) override { log_.linkMessages.push_back(m); }
  void OnHeartbeatTimeout() override { log_.calls << QStringLiteral("Heartbeat"); }
  void ApplyMenuFunction(const QString& name) override {
    log_.calls << QStringLiteral("Menu ") + name;
  }
  bool hasApply_ = false;

 private:
  PageLog& log_;
};

class MainWindow : public ::testing::Test {
 protected:
  void Start(bool present, const std::string& programFolder = ProgramFolder()) {
    log.present = present;
    test::TakeHookLog();
    window = std::make_unique<CMainWnd>(std::make_unique<RecordingPage>(log), programFolder);
    window->quit = [this] { ++quits; };
    ASSERT_TRUE(window->Create());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Process();
  }
  void Process() { QCoreApplication::processEvents(); }
  bool Send(uint32_t message, uintptr_t w = 0, intptr_t l = 0, QString text = {}) {
    return window->HandleCustomMessage({message, w, l, std::move(text), {}});
  }
  QWidget* Control(const char* name) { return window->FindControl(QString::fromLatin1(name)); }
  // Sends a message expecting it to open the no-device warning; returns how
  // many warnings opened while `duringWarning` ran inside it.
  int CountWarnings(const std::function<void()>& open, const std::function<void()>& duringWarning,
                    const QString& text = QStringLiteral("no_device_text")) {
    int warnings = 0;
    test::WhenModal([&](QWidget* modal) {
      auto* box = dynamic_cast<CMsgWnd*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->message, text);
      ++warnings;
      EXPECT_TRUE(window->NoDeviceWarningOpen());
      if (duringWarning) duringWarning();
      EXPECT_EQ(QApplication::activeModalWidget(), modal) << "a second warning opened";
      QTest::mouseClick(box->FindControl(QStringLiteral("btn_ok")), Qt::LeftButton);
    });
    open();
    EXPECT_FALSE(window->NoDeviceWarningOpen());
    return warnings;
  }

  PageLog log;
  std::unique_ptr<CMainWnd> window;
  int quits = 0;
};

TEST_F(MainWindow, InitialisesThePageFirstAndLoadsProfilesLast) {
  Start(true);
  ASSERT_GE(log.calls.size(), 2);
  EXPECT_EQ(log.calls[0], QStringLiteral("Init"));
  EXPECT_EQ(log.calls[1], QStringLiteral("LoadProfileList"));
  EXPECT_EQ(window->windowTitle(), Lan().Text(QStringLiteral("mouse_name_text")));
  ASSERT_NE(window->TrayIcon(), nullptr);
  EXPECT_EQ(window->TrayIcon()->toolTip(), window->windowTitle());
  EXPECT_EQ(window->size(), QSize(800, 572));
  EXPECT_EQ(window->WindowClassName(), QStringLiteral("Velmar KTQ9ZWRX mouse "));
}

TEST_F(MainWindow, FollowsDevicePresence) {
  Start(true);
  auto* tabs = static_cast<QStackedWidget*>(Control("device_tab_switch"));
  EXPECT_TRUE(window->DevicePresent());
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_FALSE(window->isMinimized());

  log.present = false;
  EXPECT_TRUE(Send(msg::kDevicePresence));
  EXPECT_FALSE(window->DevicePresent());
  EXPECT_EQ(tabs->currentIndex(), tabs->count() - 1);
  EXPECT_TRUE(window->isMinimized() || window->windowState() & Qt::WindowMinimized);
}

TEST_F(MainWindow, PageControlsNotifyThePageAndItsOwnButtonsActOnTheWindow) {
  Start(true);
  QTest::mouseClick(Control("ms_1_apply_btn"), Qt::LeftButton);
  ASSERT_FALSE(log.notifications.empty());
  EXPECT_EQ(log.notifications.back().sender, QStringLiteral("ms_1_apply_btn"));
  EXPECT_TRUE(log.notifications.back().Is(notify::kClick));

  // The caption's menu button opens the program's menu; one skin, no skin button.
  EXPECT_TRUE(Control("skin_btn")->isHidden());
  QTest::mouseClick(Control("main_menu_btn"), Qt::LeftButton);
  ASSERT_NE(window->TrayMenu(), nullptr);
  EXPECT_TRUE(window->TrayMenu()->isVisible());
  window->TrayMenu()->hide();

  QTest::mouseClick(Control("min_btn"), Qt::LeftButton);
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  EXPECT_EQ(quits, 0);
  QTest::mouseClick(Control("exit_btn"), Qt::LeftButton);
  EXPECT_TRUE(window->IsDestroyed());
  EXPECT_EQ(quits, 1);
  for (const auto& n : log.notifications) EXPECT_TRUE(n.sender.startsWith(QStringLiteral("ms_1_")));
}

TEST_F(MainWindow, TrayLeftClickBringsTheWindowBackWhenADeviceIsPresent) {
  Start(true);
  window->hide();
  Send(msg::kTrayCallback, 0, sysmsg::kLeftButtonUp);
  EXPECT_TRUE(window->isVisible());
  window->showMinimized();
  Send(msg::kShowInstance);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
}

TEST_F(MainWindow, WithoutADeviceTheWarningOpensOnceAtATime) {
  Start(false);
  const auto tray_click = [&] { Send(msg::kTrayCallback, 0, sysmsg::kLeftButtonUp); };
  // A second tray click and a second program start while it is open.
  const auto click_and_start_again = [&] {
    tray_click();
    Send(msg::kShowInstance);
  };
  EXPECT_EQ(CountWarnings(tray_click, click_and_start_again), 1);
  // Closed: the next click opens it again.
  EXPECT_EQ(
      CountWarnings([&] { Send(msg::kMenuClick, 0, 0, QStringLiteral("configuration")); }, nullptr),
      1);
}

// A mouse node that this user may not open: the warning names the fix.
TEST_F(MainWindow, AMouseThatMayNotBeOpenedGetsTheAccessWarningInstead) {
  log.notAllowed = true;
  Start(false);
  for (const uint32_t message : {msg::kTrayCallback, msg::kShowInstance}) {
    EXPECT_EQ(CountWarnings([&] { Send(message, 0, sysmsg::kLeftButtonUp); }, nullptr,
                            QStringLiteral("no_access_text")),
              1)
        << message;
  }
}

TEST_F(MainWindow, TrayMenuIsOneAtATimeAndItsItemsPostMenuCommands) {
  Start(true);
  Send(msg::kTrayCallback, 0, sysmsg::kRightButtonUp);
  QPointer<QMenu> first = window->TrayMenu();
  ASSERT_FALSE(first.isNull());
  Send(msg::kTrayCallback, 0, sysmsg::kRightButtonUp);
  EXPECT_TRUE(first.isNull());
  ASSERT_NE(window->TrayMenu(), nullptr);

  QAction* exit = nullptr;
  for (QAction* action : window->TrayMenu()->actions()) {
    if (action->objectName() == QStringLiteral("exit")) exit = action;
  }
  ASSERT_NE(exit, nullptr);
  exit->trigger();
  EXPECT_FALSE(window->IsDestroyed());  // posted, not yet handled
  ASSERT_TRUE(test::WaitFor([&] { return window->IsDestroyed(); }));
  EXPECT_EQ(quits, 1);
  EXPECT_FALSE(window->TrayIcon()->isVisible());
}

// "Start with the desktop" shows whether the entry exists and flips it.
TEST_F(MainWindow, TrayMenuAutostartItemWritesAndRemovesTheEntry) {
  const QTemporaryDir config;
  test::ScopedEnv env;
  env.Set("XDG_CONFIG_HOME", config.path().toStdString());
  const std::filesystem::path entry =
      config.path().toStdString() + "/autostart/io.ms1config.Ms1Config.desktop";
  Start(true);
  for (const bool enabled : {false, true}) {
    Send(msg::kTrayCallback, 0, sysmsg::kRightButtonUp);
    ASSERT_NE(window->TrayMenu(), nullptr);
    auto* item = window->TrayMenu()->findChild<QAction*>(QStringLiteral("autostart"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_EQ(item->isChecked(), enabled);
    EXPECT_EQ(item->text(), Lan().Text(QStringLiteral("autostart_text")));
    item->trigger();
    ASSERT_TRUE(test::WaitFor([&] { return std::filesystem::exists(entry) != enabled; }));
  }
}

TEST_F(MainWindow, MenuCommandsAreMatchedWithoutRegardToCase) {
  Start(true);
  window->hide();
  Send(msg::kMenuClick, 0, 0, QStringLiteral("Configuration"));
  EXPECT_TRUE(window->isVisible());
  Send(msg::kMenuClick, 0, 0, QStringLiteral("MS_1_copy"));
  Send(msg::kMenuClick, 0, 0, QStringLiteral("ms"));
  Send(msg::kMenuClick, 0, 0, QString());
  EXPECT_EQ(log.calls.filter(QStringLiteral("Menu ")),
            QStringList{QStringLiteral("Menu MS_1_copy")});
  Send(msg::kMenuClick, 0, 0, QStringLiteral("EXIT"));
  EXPECT_TRUE(window->IsDestroyed());
}

TEST_F(MainWindow, DpiIndicatorShowsTheDpiAndClosesWhenItsTimerExpires) {
  Start(true);
  EXPECT_EQ(DpiIndicatorText(0, 30), QStringLiteral("DPI :1200"));
  EXPECT_EQ(DpiIndicatorText(2, 40), QStringLiteral("DPI :1600"));
  EXPECT_EQ(DpiIndicatorText(3, 40), QStringLiteral("DPI :"));

  EXPECT_TRUE(Send(msg::kShowDpi, 0, 30));
  QPointer<CDPIMsg> indicator = window->DpiIndicator();
  ASSERT_FALSE(indicator.isNull());
  EXPECT_TRUE(indicator->isVisible());
  EXPECT_EQ(indicator->text, QStringLiteral("DPI :1200"));
  EXPECT_TRUE(window->Messages().IsTimerActive(timer::kDpiIndicator));
  EXPECT_EQ(window->Messages().TimerInterval(timer::kDpiIndicator), 2000);

  // A second report updates the same window and restarts the timer.
  Send(msg::kShowDpi, 0, 40);
  EXPECT_EQ(window->DpiIndicator(), indicator.data());
  EXPECT_EQ(indicator->text, QStringLiteral("DPI :1600"));

  // The expiry closes it; it deletes itself.
  EXPECT_FALSE(Send(sysmsg::kTimer, timer::kDpiIndicator));
  EXPECT_FALSE(window->Messages().IsTimerActive(timer::kDpiIndicator));
  EXPECT_EQ(window->DpiIndicator(), nullptr);
  ASSERT_TRUE(test::WaitFor([&] { return indicator.isNull(); }));
}

TEST_F(MainWindow, RoutesDeviceMessagesAndTimersToThePage) {
  Start(true);
  for (uint32_t m : {msg::kReceiverEvent, msg::kReceiverPlug, msg::kWiredEvent, msg::kWiredPlug}) {
    EXPECT_TRUE(Send(m, 0x1000, 3));
  }
  ASSERT_EQ(log.linkMessages.size(), 4u);
  EXPECT_EQ(log.linkMessages[2].message, msg::kWiredEvent);
  EXPECT_EQ(log.linkMessages[2].wParam, 0x1000u);
  EXPECT_EQ(log.linkMessages[2].lParam, 3);

  window->Messages().SetTimer(timer::kReceiverHeartbeat, 6000);
  EXPECT_FALSE(Send(sysmsg::kTimer, timer::kReceiverHeartbeat));
  EXPECT_FALSE(window->Messages().IsTimerActive(timer::kReceiverHeartbeat));
  EXPECT_TRUE(log.calls.contains(QStringLiteral("Heartbeat")));

  for (uint32_t m : {1034u, 1130u, 1261u, 5121u}) EXPECT_TRUE(Send(m)) << m;
  EXPECT_FALSE(Send(1300));
}

// Each store's failed save is told once (the macros' with why), and again
// only after that store was saved.
TEST_F(MainWindow, WarnsOnceWhenAStoreCannotBeSaved) {
  Start(true);
  const struct {
    StoreKind store;
    const char* text_key;
    QStringList args;
  } cases[] = {{StoreKind::kProfiles, "store_save_failed_text", {}},
               {StoreKind::kMacros, "macro_store_save_failed_text", {QStringLiteral("full")}}};
  for (const auto& c : cases) {
    const auto store = static_cast<intptr_t>(c.store);
    const auto fail = [&] { window->Messages().Post(msg::kStoreSaveResult, 0, store, "full"); };
    QString warned;
    QStringList args;
    test::WhenModal([&](QWidget* modal) {
      auto* box = dynamic_cast<CMsgWnd*>(modal);
      ASSERT_NE(box, nullptr);
      warned = box->message;
      args = box->messageArgs;
      fail();  // further failures while the warning is up, and after it, stay silent
      QTest::mouseClick(box->FindControl(QStringLiteral("btn_ok")), Qt::LeftButton);
    });
    fail();
    ASSERT_TRUE(test::WaitFor([&] { return !warned.isEmpty(); }));
    EXPECT_EQ(warned, QString::fromLatin1(c.text_key));
    EXPECT_EQ(args, c.args);
    Process();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // After a successful save a new failure is reported again.
    Send(msg::kStoreSaveResult, 1, store);
    int again = 0;
    test::WhenModal([&](QWidget* modal) {
      ++again;
      QTest::mouseClick(static_cast<CMsgWnd*>(modal)->FindControl(QStringLiteral("btn_ok")),
                        Qt::LeftButton);
    });
    Send(msg::kStoreSaveResult, 0, store);
    EXPECT_EQ(again, 1);
  }
}

TEST_F(MainWindow, DestroysThePageBeforeTheTrayIcon) {
  Start(true);
  window.reset();
  EXPECT_EQ(log.calls.back(), QStringLiteral("destroyed"));
}

TEST_F(MainWindow, LoadsTheHookLibraryBeforeProfilesAndHandsThePageItsTable) {
  Start(true, test::paths::CompleteFakeHookFolder());
  EXPECT_TRUE(window->HookLoaded());
  // The page got the window's own table, bound by the time profiles load.
  EXPECT_EQ(log.hookTable, window->HookTable());
  EXPECT_EQ(log.hooksBoundAtProfileLoad, 7);
  // Loading alone calls nothing in the library.
  EXPECT_TRUE(test::TakeHookLog().empty());
}

// Destroyed by its exit button, or deleted without that.
TEST_F(MainWindow, DestructionEndsTheHooksAndUnloadsTheLibraryOnce) {
  for (const bool deleted : {false, true}) {
    SCOPED_TRACE(deleted ? "deleted without destroy" : "destroyed");
    Start(true, test::paths::CompleteFakeHookFolder());
    if (deleted) {
      window.reset();
    } else {
      QTest::mouseClick(Control("exit_btn"), Qt::LeftButton);
      ASSERT_TRUE(window->IsDestroyed());
    }
    EXPECT_EQ(test::TakeHookLog(),
              (std::vector<std::string>{"complete removemousehook", "complete removehook",
                                        "complete unloaded"}));
    if (deleted) continue;
    EXPECT_FALSE(window->HookLoaded());
    EXPECT_EQ(test::BoundEntryPoints(*log.hookTable), 0);  // the page can no longer reach it

    // A second destroy request and the destructor leave it alone.
    Send(msg::kMenuClick, 0, 0, QStringLiteral("exit"));
    window.reset();
    EXPECT_TRUE(test::TakeHookLog().empty());
  }
}

TEST_F(MainWindow, WorksWithoutTheHookLibrary) {
  Start(true, "/nonexistent/program/folder/");
  EXPECT_FALSE(window->HookLoaded());
  ASSERT_NE(log.hookTable, nullptr);
  EXPECT_EQ(log.hooksBoundAtProfileLoad, 0);
  EXPECT_EQ(log.calls.filter(QStringLiteral("LoadProfileList")).size(), 1);
  EXPECT_TRUE(Send(msg::kHookEvent, 0x41, 0));
  QTest::mouseClick(Control("exit_btn"), Qt::LeftButton);
  EXPECT_TRUE(window->IsDestroyed());
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(test::TakeHookLog().empty());
}

TEST(MainWindowWithoutPage, RunsAsWithNoDevice) {
  CMainWnd window(nullptr);
  int quits = 0;
  window.quit = [&] { ++quits; };
  ASSERT_TRUE(window.Create());
  window.show();
  ASSERT_TRUE(test::WaitFor([&] { return window.windowState() & Qt::WindowMinimized; }));
  EXPECT_FALSE(window.DevicePresent());
  EXPECT_TRUE(window.HandleCustomMessage({msg::kWiredPlug, 1, 0, {}, {}}));
}

}  // namespace
}  // namespace ms1
