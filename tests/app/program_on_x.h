// Fixture for tests of the real program on a private X server: starts it,
// knows its window titles and where the skin puts the buttons the tests press.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/language.h"
#include "support/run.h"
#include "support/x_session.h"

namespace ms1::test {

class ProgramOnX : public ::testing::Test {
 protected:
  // Call from SetUp (a skip there keeps the test body from running): starts
  // Xvfb, and openbox and trayer when asked; skips the test when a needed
  // tool is not installed.
  void StartX(bool windowManager = false, bool tray = false) {
    std::vector<std::string> tools = {"Xvfb", "xdotool"};
    if (windowManager) {
      tools.insert(tools.end(), {"openbox", "xprop"});
    }
    if (tray) {
      tools.insert(tools.end(), {"trayer", "xwininfo"});
    }
    for (const std::string& tool : tools) {
      if (!Installed(tool)) GTEST_SKIP() << "needs " << tool;
    }
    ASSERT_TRUE(x_.Start()) << "Xvfb did not start";
    if (windowManager) {
      ASSERT_TRUE(x_.StartWindowManager()) << "openbox did not start";
    }
    if (tray) {
      ASSERT_TRUE(x_.StartTray()) << "trayer did not start";
    }
    env_ = x_.Env(runtime_.path().toStdString());
  }
  void TearDown() override { EndChild(program_); }

  void StartProgram(const std::string& program, std::vector<std::string> extraEnv = {}) {
    extraEnv.insert(extraEnv.begin(), env_.begin(), env_.end());
    program_ = Spawn({program}, extraEnv);
  }
  // A second start of the same program in the same session; its exit code.
  int StartSecondCopy(const std::string& program, std::vector<std::string> extraEnv = {}) {
    std::vector<std::string> argv = {"/usr/bin/env"};
    argv.insert(argv.end(), env_.begin(), env_.end());
    argv.insert(argv.end(), extraEnv.begin(), extraEnv.end());
    argv.push_back(program);
    return ms1::test::Run(argv).exit_code;  // not testing::Test::Run
  }
  // The program's exit code, waiting for it to end; -1 when it did not.
  int ProgramExit() {
    const int code = WaitExit(program_, 30000);
    if (code != -1) program_ = -1;
    return code;
  }

  static std::string MainTitle() { return Text("mouse_name_text"); }
  static std::string WarningTitle() { return Text("warning_title_text"); }

  // Presses OK, bottom right of the 340 x 180 message box.
  void PressWarningOk(const std::string& warning) {
    x_.Click(warning, 340 - 14 - 44, 180 - 14 - 15);
  }
  // Presses the exit button at the right end of the main window's caption bar.
  void PressExitButton(const std::string& main) { x_.Click(main, 800 - 8 - 15, 23); }

  QTemporaryDir runtime_;
  XSession x_;
  pid_t program_ = -1;
  std::vector<std::string> env_;

 private:
  static std::string Text(const char* key) {
    return Lan().Text(QString::fromLatin1(key)).toStdString();
  }
};

}  // namespace ms1::test
