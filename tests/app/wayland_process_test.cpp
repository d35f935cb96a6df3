// The program on Wayland, under weston's headless backend in a private
// runtime folder: the real program's window maps (its own protocol log says
// so), and the key capture tests pass on Qt's Wayland platform, among them the
// shortcut dialog opened from a key button of the real window. That compositor
// has no seat, so keys there are Qt's own key events, delivered in-process.
#include <gtest/gtest.h>

#include <regex>

#include "program_session.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

class OnWayland : public test::ProgramSession {
 protected:
  void SetUp() override { StartWayland(); }
};

TEST_F(OnWayland, TheWindowMapsAndTheKeyFieldsTakeKeys) {
  const std::string log = Runtime() + "/program.log";
  StartProgram(test::paths::ProgramFile(), {"WAYLAND_DEBUG=client"}, log);
  // Mapped: the main window acknowledged its configure, then attached a buffer.
  const std::regex mapped(
      R"(set_title\("MS_1 Gaming Mouse"\)[^]*ack_configure[^]*attach\(wl_buffer)");
  EXPECT_TRUE(test::PollFor([&] { return std::regex_search(test::Slurp(log), mapped); }))
      << test::Slurp(log).substr(0, 3000);
  kill(program_, SIGTERM);
  EXPECT_EQ(ProgramExit(), 0);

  const std::string tests = test::paths::BuildFolder() + "/tests/";
  for (const auto& [binary, filter] :
       {std::pair{tests + "keys/ms1_keys_tests", "ShortcutDialog*:KeyEvent*"},
        {tests + "app/ms1_app_tests", "ButtonMenus.AShortcut*"}}) {
    const test::RunResult result = RunInSession({binary, std::string("--gtest_filter=") + filter});
    EXPECT_EQ(result.exit_code, 0) << binary << "\n" << result.out;
    EXPECT_NE(result.out.find("[  PASSED  ]"), std::string::npos) << binary;
    EXPECT_EQ(result.out.find("SKIPPED"), std::string::npos) << binary;
  }
}

}  // namespace
}  // namespace ms1
