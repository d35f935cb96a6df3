// Test helper: a private X server (Xvfb) for tests of the real program, with
// an optional window manager (so minimising is real: the window becomes
// iconic) and an optional tray host. Windows are found and driven with
// xdotool, as a user would.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/run.h"
#include "support/scoped_env.h"

namespace ms1::test {

// Polls `done` until it holds; false after the safety timeout.
inline bool PollFor(const std::function<bool()>& done, int timeoutMs = 60000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  return true;
}

class XSession {
 public:
  ~XSession() {
    EndChild(tray_, SIGTERM);
    EndChild(window_manager_, SIGTERM);
    EndChild(xvfb_, SIGTERM);
  }

  // Starts Xvfb on a free display, with any extra arguments (such as
  // "-extension", "RECORD" to leave an extension out); false when it did not
  // come up.
  bool Start(const std::vector<std::string>& extra_arguments = {}) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    std::vector<std::string> argv = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset",
                                     "-screen", "0", "1280x800x24", "-nolisten", "tcp"};
    argv.insert(argv.end(), extra_arguments.begin(), extra_arguments.end());
    xvfb_ = Spawn(argv, {}, -1);
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
  }

  // Ends the X server at once, as a crash would; its clients lose their
  // connections.
  void KillServer() {
    EndChild(xvfb_, SIGKILL);
    xvfb_ = -1;
  }

  // Starts openbox and waits until it manages the screen, so that a window's
  // own minimising is carried out (and visible as WM_STATE Iconic).
  bool StartWindowManager() {
    const std::string home = private_.path().toStdString();
    window_manager_ = Spawn(
        {"openbox"}, {"DISPLAY=" + display_, "XDG_CONFIG_HOME=" + home, "XDG_CACHE_HOME=" + home});
    return PollFor([this] {
      return X({"/usr/bin/xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") !=
             std::string::npos;
    });
  }

  // Starts trayer as the tray host and waits for its panel.
  bool StartTray() {
    tray_ = Spawn({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                   "--width", "160", "--height", "32"},
                  {"DISPLAY=" + display_});
    tray_panel_ = FindWindow({"--classname", "^panel$"});  // trayer names its window so
    return !tray_panel_.empty();
  }

  // What a program on this display needs in its environment.
  std::vector<std::string> Env(const std::string& runtimeDir) const {
    return {"DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=" + runtimeDir};
  }

  RunResult X(std::vector<std::string> argv) const {
    std::vector<std::string> withEnv = {"/usr/bin/env", "DISPLAY=" + display_};
    withEnv.insert(withEnv.end(), argv.begin(), argv.end());
    return Run(withEnv);
  }

  // The ids xdotool finds with these search options (e.g. --onlyvisible
  // --name '^Title$'), right now.
  std::vector<std::string> Search(const std::vector<std::string>& options) const {
    std::vector<std::string> argv = {"/usr/bin/xdotool", "search"};
    argv.insert(argv.end(), options.begin(), options.end());
    return Lines(X(argv).out);
  }

  // The first window the search finds, waiting for it; empty when none came.
  std::string FindWindow(const std::vector<std::string>& options, int timeoutMs = 60000) const {
    std::string found;
    PollFor(
        [&] {
          const auto ids = Search(options);
          if (!ids.empty()) found = ids.front();
          return !found.empty();
        },
        timeoutMs);
    return found;
  }

  // The visible window with exactly this title, waiting for it.
  std::string FindVisible(const std::string& title, int timeoutMs = 60000) const {
    return FindWindow({"--onlyvisible", "--name", "^" + title + "$"}, timeoutMs);
  }

  int CountVisible(const std::string& title) const {
    return static_cast<int>(Search({"--onlyvisible", "--name", "^" + title + "$"}).size());
  }

  // The icon a program of this WM_CLASS docked in the tray (a descendant of
  // trayer's panel, not a top-level window); waits for it.
  std::string FindTrayIcon(const std::string& windowClass, int timeoutMs = 60000) const {
    const std::string marker = "(\"" + windowClass + "\" ";
    std::string icon;
    PollFor(
        [&] {
          const auto tree = X({"/usr/bin/xwininfo", "-tree", "-id", tray_panel_});
          for (const std::string& line : Lines(tree.out)) {
            if (line.find(marker) == std::string::npos) continue;
            std::istringstream words(line);
            std::string hex;
            words >> hex;  // the id leads the line, in hex; xdotool is given it in decimal
            icon = std::to_string(std::stoul(hex, nullptr, 16));
            return true;
          }
          return false;
        },
        timeoutMs);
    return icon;
  }

  // True when the window manager holds the window iconic (minimised).
  bool Iconic(const std::string& window) const {
    return X({"/usr/bin/xprop", "-id", window, "WM_STATE"}).out.find("Iconic") != std::string::npos;
  }

  void Click(const std::string& window, int x, int y, int button = 1) const {
    X({"/usr/bin/xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y),
       "click", std::to_string(button)});
  }

  void Keys(const std::vector<std::string>& keys) const {
    std::vector<std::string> argv = {"/usr/bin/xdotool", "key"};
    argv.insert(argv.end(), keys.begin(), keys.end());
    X(argv);
  }

  void Screenshot(const std::string& path) const {
    X({"/usr/bin/import", "-window", "root", path});
  }

  const std::string& Display() const { return display_; }

 private:
  QTemporaryDir private_;
  pid_t xvfb_ = -1;
  pid_t window_manager_ = -1;
  pid_t tray_ = -1;
  std::string display_;
  std::string tray_panel_;
};

// Fixture of the tests that set the keyboard layout of a private X server
// and follow it from this process, whose DISPLAY is that server.
class KeyboardOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& tool : Tools()) {
      if (!Installed(tool)) GTEST_SKIP() << "needs " << tool;
    }
    ASSERT_TRUE(x_.Start(ServerArguments()));
    env_.Set("DISPLAY", x_.Display());
  }
  virtual std::vector<std::string> Tools() const { return {"Xvfb", "setxkbmap"}; }
  virtual std::vector<std::string> ServerArguments() const { return {}; }
  void SetLayout(const std::string& layouts) {
    ASSERT_EQ(x_.X({"/usr/bin/setxkbmap", "-layout", layouts}).exit_code, 0);
  }

  XSession x_;
  ScopedEnv env_;
};

}  // namespace ms1::test
