// The fixture of every test of the real program as a user runs it. Each test
// is a session of its own: a private runtime folder (the program's
// single-instance lock and socket are there; the test process uses it too)
// and, as its SetUp asks, a private X server with a window manager and a tray
// host, or a headless Wayland compositor, and the virtual mouse. Every
// program the test starts gets the session's environment; whatever of it
// still runs ends with the test.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "../libs/simulator_stop.h"
#include "libs/virtualmouse/sim_connection.h"
#include "platform/language.h"
#include "support/process.h"
#include "support/run.h"
#include "support/scoped_env.h"
#include "support/test_paths.h"
#include "support/x_session.h"

namespace ms1::test {

// What runs on the private X server besides the program.
struct Desktop {
  bool window_manager = false;  // openbox: minimising is real (WM_STATE Iconic)
  bool tray = false;            // trayer: a host for the tray icon
};

class ProgramSession : public ::testing::Test {
 protected:
  ProgramSession() { process_env_.Set("XDG_RUNTIME_DIR", Runtime()); }

  void TearDown() override {
    EndChild(program_);
    EndChild(compositor_, SIGTERM);
    // A driver file of the virtual mouse starts its simulator: it must not
    // outlive the test.
    EXPECT_TRUE(StopSimulator(VmouseDir())) << "the simulator did not exit";
  }

  // The parts of a session; call them from SetUp (a skip there keeps the
  // test body from running). Each skips the test when a tool it needs is not
  // installed.
  void StartX(Desktop desktop = {}) {
    std::vector<std::string> tools = {"Xvfb", "xdotool"};
    if (desktop.window_manager) tools.insert(tools.end(), {"openbox", "xprop"});
    if (desktop.tray) tools.insert(tools.end(), {"trayer", "xwininfo"});
    for (const std::string& tool : tools) {
      if (!Installed(tool)) GTEST_SKIP() << "needs " << tool;
    }
    ASSERT_TRUE(x_.Start()) << "Xvfb did not start";
    if (desktop.window_manager) {
      ASSERT_TRUE(x_.StartWindowManager()) << "openbox did not start";
    }
    if (desktop.tray) {
      ASSERT_TRUE(x_.StartTray()) << "trayer did not start";
    }
    display_env_ = {"DISPLAY=" + x_.Display(), "QT_QPA_PLATFORM=xcb"};
  }
  // weston's headless backend, which has no seat: keys there are Qt's own key
  // events, delivered in-process.
  void StartWayland() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    if (!Installed("weston") || !platforms.exists(QStringLiteral("libqwayland-generic.so"))) {
      GTEST_SKIP() << "needs weston and qt6-wayland";
    }
    const std::string socket = "wayland-ms1-test";  // in the private runtime folder
    compositor_ =
        Spawn({"weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"});
    ASSERT_TRUE(PollFor([&] { return std::filesystem::exists(Runtime() + "/" + socket); }))
        << "weston did not start";
    // Qt's Wayland input method expects a seat: without one it would crash.
    // Qt's Wayland client leaves libwayland's allocations behind at exit: the
    // leak check of these tests stays with their offscreen and X runs.
    display_env_ = {
        "WAYLAND_DISPLAY=" + socket,          "QT_QPA_PLATFORM=wayland",
        "MS1_TEST_PLATFORM=wayland",          "QT_IM_MODULE=none",
        "DBUS_SESSION_BUS_ADDRESS=disabled:", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"};
  }
  // The virtual mouse with these links plugged ("wired", "receiver", "ble")
  // for every program started from here on; a driver file of the virtual
  // mouse starts its simulator.
  void PlugVirtualMouse(const std::string& plugged = "wired") { plugged_ = plugged; }

  // What a program of this session has in its environment, besides the test's own.
  std::vector<std::string> Env() const {
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + Runtime()};
    env.insert(env.end(), display_env_.begin(), display_env_.end());
    if (!plugged_.empty()) {
      env.insert(env.end(), {"MS1_VMOUSE_DIR=" + VmouseDir(), "MS1_VMOUSE_PLUGGED=" + plugged_});
    }
    return env;
  }

  // Starts the program under test in the background, with extra environment
  // entries; its errors go to `errorsFile` when one is named.
  void StartProgram(const std::string& program, std::vector<std::string> extraEnv = {},
                    const std::string& errorsFile = {}) {
    std::vector<std::string> env = Env();
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    const int errors = errorsFile.empty() ? -1
                                          : ::open(errorsFile.c_str(),
                                                   O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    program_ = Spawn({program}, env, -1, errors);
    if (errors >= 0) ::close(errors);
  }
  // Runs a command in this session to its end, with extra environment entries.
  RunResult RunInSession(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extraEnv = {}) const {
    std::vector<std::string> withEnv = {"/usr/bin/env"};
    for (const auto& part : {Env(), extraEnv, argv})
      withEnv.insert(withEnv.end(), part.begin(), part.end());
    return ms1::test::Run(withEnv);  // not testing::Test::Run
  }
  // A second start of a program in the same session; its exit code.
  int StartSecondCopy(const std::string& program) const {
    return RunInSession({program}).exit_code;
  }
  // The program's exit code, waiting for it to end; -1 when it did not.
  int ProgramExit() {
    const int code = WaitExit(program_, 30000);
    if (code != -1) program_ = -1;
    return code;
  }

  // The virtual mouse's reply to a request; an empty object when it is gone.
  nlohmann::json Steer(const std::string& request) {
    if (!simulator_) simulator_ = vmouse::ConnectToSimulator(VmouseDir());
    nlohmann::json reply = simulator_ ? simulator_->Request(request) : nlohmann::json();
    if (!reply.is_object()) {
      simulator_.reset();
      return nlohmann::json::object();
    }
    return reply;
  }
  nlohmann::json MouseState() { return Steer("state")["state"]; }

  // Watches for a while that `holds` keeps holding. Only a wrong program
  // fails here; a slow machine at worst lets it pass unnoticed.
  static bool KeepsHolding(const std::function<bool()>& holds) {
    for (int i = 0; i < 30; ++i) {
      if (!holds()) return false;
      QThread::msleep(50);
    }
    return true;
  }

  std::string Runtime() const { return runtime_.path().toStdString(); }
  std::string VmouseDir() const { return vmouse_.path().toStdString(); }

  static std::string MainTitle() { return Text("mouse_name_text"); }
  static std::string WarningTitle() { return Text("warning_title_text"); }
  // Presses OK, bottom right of the 340 x 180 message box.
  void PressWarningOk(const std::string& warning) {
    x_.Click(warning, 340 - 14 - 44, 180 - 14 - 15);
  }
  // Presses the exit button at the right end of the main window's caption bar.
  void PressExitButton(const std::string& main) { x_.Click(main, 800 - 8 - 15, 23); }

  XSession x_;
  pid_t program_ = -1;

 private:
  static std::string Text(const char* key) {
    return Lan().Text(QString::fromLatin1(key)).toStdString();
  }

  QTemporaryDir runtime_;
  QTemporaryDir vmouse_;
  ScopedEnv process_env_;
  std::vector<std::string> display_env_;
  std::string plugged_;
  pid_t compositor_ = -1;
  std::unique_ptr<vmouse::LineConnection> simulator_;
};

// The program from the demo folder on the virtual mouse (cable plugged), on
// a desktop with a window manager.
class DemoProgram : public ProgramSession {
 protected:
  void SetUp() override {
    StartX({.window_manager = true});
    PlugVirtualMouse();
  }
};

// A folder to try things in: a copy of the demo folder with its own data.
class DemoCopy : public DemoProgram {
 protected:
  void SetUp() override {
    DemoProgram::SetUp();
    const std::filesystem::path demo =
        std::filesystem::path(paths::DemoProgramFile()).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(demo)) {
      if (entry.path().filename() == "Data") continue;
      std::filesystem::copy(entry.path(), folder() / entry.path().filename(),
                            std::filesystem::copy_options::recursive);
    }
  }
  std::filesystem::path folder() const { return copy_.path().toStdString(); }
  std::string ProgramInCopy() const { return (folder() / "ms1-config").string(); }
  RunResult Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), paths::Ms1ctlFile());
    args.insert(args.end(), {"--data", (folder() / "Data").string()});
    return ms1::test::Run(args);  // not testing::Test::Run
  }

 private:
  QTemporaryDir copy_;
};

}  // namespace ms1::test
