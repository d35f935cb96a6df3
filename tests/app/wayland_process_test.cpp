// The program on Wayland, under weston's headless backend in a private
// runtime folder: the real program's window maps (its own protocol log says
// so), and the key capture tests pass on Qt's Wayland platform, among them the
// shortcut dialog opened from a key button of the real window. That compositor
// has no seat, so keys there are Qt's own key events, delivered in-process.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <regex>

#include "support/test_paths.h"
#include "support/x_session.h"

namespace ms1 {
namespace {

TEST(OnWayland, TheWindowMapsAndTheKeyFieldsTakeKeys) {
  const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                       QStringLiteral("/platforms"));
  if (!test::Installed("weston") || !platforms.exists(QStringLiteral("libqwayland-generic.so"))) {
    GTEST_SKIP() << "needs weston and qt6-wayland";
  }
  const QTemporaryDir runtime;
  const std::string dir = runtime.path().toStdString(), socket = "wayland-ms1-test";
  const struct Ended {
    pid_t pid;
    ~Ended() { test::EndChild(pid, SIGTERM); }
  } weston{test::Spawn(
      {"weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"},
      {"XDG_RUNTIME_DIR=" + dir})};
  ASSERT_TRUE(test::PollFor([&] { return std::filesystem::exists(dir + "/" + socket); }));
  // Qt's Wayland input method expects a seat: without one it would crash.
  // Qt's Wayland client leaves libwayland's allocations behind at exit: the
  // leak check of these tests stays with their offscreen and X runs.
  const std::vector<std::string> env = {
      "XDG_RUNTIME_DIR=" + dir,  "WAYLAND_DISPLAY=" + socket,
      "QT_QPA_PLATFORM=wayland", "MS1_TEST_PLATFORM=wayland",
      "QT_IM_MODULE=none",       "DBUS_SESSION_BUS_ADDRESS=disabled:",
      "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"};

  const std::string log = dir + "/program.log";
  const int log_fd = open(log.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
  std::vector<std::string> program_env = env;
  program_env.push_back("WAYLAND_DEBUG=client");
  const pid_t program = test::Spawn({test::paths::ProgramFile()}, program_env, -1, log_fd);
  close(log_fd);
  // Mapped: the main window acknowledged its configure, then attached a buffer.
  const std::regex mapped(
      R"(set_title\("MS_1 Gaming Mouse"\)[^]*ack_configure[^]*attach\(wl_buffer)");
  EXPECT_TRUE(test::PollFor([&] { return std::regex_search(test::Slurp(log), mapped); }))
      << test::Slurp(log).substr(0, 3000);
  kill(program, SIGTERM);
  EXPECT_EQ(test::WaitExit(program, 30000), 0);

  const std::string tests = test::paths::BuildFolder() + "/tests/";
  for (const auto& [binary, filter] :
       {std::pair{tests + "keys/ms1_keys_tests", "ShortcutDialog*:KeyEvent*"},
        {tests + "app/ms1_app_tests", "ButtonMenus.AShortcut*"}}) {
    std::vector<std::string> argv = {"/usr/bin/env"};
    argv.insert(argv.end(), env.begin(), env.end());
    argv.insert(argv.end(), {binary, std::string("--gtest_filter=") + filter});
    const test::RunResult result = test::Run(argv);
    EXPECT_EQ(result.exit_code, 0) << binary << "\n" << result.out;
    EXPECT_NE(result.out.find("[  PASSED  ]"), std::string::npos) << binary;
    EXPECT_EQ(result.out.find("SKIPPED"), std::string::npos) << binary;
  }
}

}  // namespace
}  // namespace ms1
