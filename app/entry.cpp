#include "app/entry.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/instance.h"
#include "app/main_wnd.h"
#include "device/messages.h"
#include "model/version.h"
#include "platform/autostart.h"
#include "platform/folders.h"
#include "platform/language_choice.h"
#include "platform/quit_signals.h"
#include "platform/single_instance.h"
#include "platform/skin.h"

namespace ms1 {
namespace {

size_t CommandLineLength(int argc, char** argv) {
  size_t length = 0;
  for (int i = 0; i < argc; ++i) length += std::strlen(argv[i]) + (i > 0 ? 1 : 0);
  return length;
}

void CentreOnScreen(QWidget& window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
  }
}

// Started with the desktop session: only the tray icon shows, or, where the
// desktop has no tray, the minimised window.
bool StartInTray(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], kTrayOnlyArgument) == 0) return true;
  }
  return false;
}

bool AskedForVersion(int argc, char** argv) {
  return argc == 2 && std::strcmp(argv[1], "--version") == 0;
}

// A copy that is ending, as when the user starts the program again right
// after quitting it, gets this long to let go of the lock.
constexpr std::chrono::seconds kInstancePatience{5};

// kExitDone when this is the copy to run; otherwise the exit code, with the
// reason on standard error unless another copy came forward, which the user sees.
int ClaimInstance(SingleInstance& instance) {
  const auto waiting = [] {
    std::fprintf(stderr, "ms1-config: another copy is ending; waiting for it\n");
  };
  switch (instance.ClaimOrBringForward(kInstancePatience, waiting)) {
    case InstanceClaim::kFirst:
      return kExitDone;
    case InstanceClaim::kAnotherRuns:
      return kExitAnotherCopyRuns;
    case InstanceClaim::kAnotherIsStuck:
      std::fprintf(stderr,
                   "ms1-config: another copy holds the single-instance lock %s but neither came "
                   "forward nor ended within %lld s; end it, then start again\n",
                   qPrintable(instance.LockPath()),
                   static_cast<long long>(kInstancePatience.count()));
      return kExitAnotherCopyStuck;
    case InstanceClaim::kFailed:
      break;
  }
  // Not another copy: without this the user sees nothing start and no reason.
  std::fprintf(stderr, "ms1-config: cannot take the single-instance lock %s: %s\n",
               qPrintable(instance.LockPath()), qPrintable(instance.FailureReason()));
  return kExitNoInstanceLock;
}

}  // namespace

int RunApplication(int argc, char** argv, const DevicePageFactory& makePage) {
  if (AskedForVersion(argc, argv)) {
    std::printf("ms1-config %s\n", ProgramVersion());
    return kExitDone;
  }
  // A file-size limit must fail the write (the store keeps its last version
  // and the user is warned), not end the program with everything unsaved.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  // A tray program: closing a dialog while the window is hidden must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  SingleInstance instance(QString::fromLatin1(kInstanceName));
  if (const int refused = ClaimInstance(instance); refused != kExitDone) return refused;
  std::fprintf(stderr, "ilen = %zu\r\n", CommandLineLength(argc, argv));

  SetSkinFolder(QString::fromStdString(ProgramFolder()) + QStringLiteral("res/"));
  LoadDesktopLanguage();
  ApplySkinPalette();

  // Outlives the window: a signal during its shutdown must not cut the save short.
  QuitSignals quit_signals;
  {
    CMainWnd window(makePage ? makePage() : nullptr);
    QObject::connect(&instance, &SingleInstance::showRequested, &window,
                     [&window] { window.Messages().Post(msg::kShowInstance); });
    // Logout, shutdown or kill: the same way out as Exit, stores saved.
    quit_signals.SetQuit([&window] { window.DestroyWindow(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.DestroyWindow(); });
    window.Create();
    ApplySkinStyleSheet();
    window.resize(800, 572);
    CentreOnScreen(window);
    if (!StartInTray(argc, argv)) {
      window.show();
    } else if (!QSystemTrayIcon::isSystemTrayAvailable()) {
      window.showMinimized();
    }
    // Once the loop runs: the window is on the screen before the bus is asked.
    QTimer::singleShot(0, &window, [&window] { window.StartBusService(); });
    QApplication::exec();
    quit_signals.SetQuit({});
    // Ending from here: a start meanwhile waits for the lock rather than
    // asking a copy that no longer reads its requests.
    instance.StopAnswering();
  }
  return kExitDone;
}

}  // namespace ms1
