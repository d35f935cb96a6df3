// The program from the demo folder on the virtual mouse (cable plugged), on a
// desktop with a window manager: with the device present its window stays
// shown, a second start exits with 1 and brings the first to the front
// without any warning, and the exit button ends it with 0.
#include <gtest/gtest.h>

#include <string>

#include "program_session.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using test::DemoCopy;
using test::DemoProgram;

TEST_F(DemoProgram, ShowsItsWindowComesForwardOnASecondStartAndExitsByItsButton) {
  StartProgram(test::paths::DemoProgramFile());
  const std::string main = x_.FindVisible(MainTitle());
  ASSERT_FALSE(main.empty()) << "the main window did not appear";

  // The second copy is answered after the device presence was taken (it was
  // posted before the message loop ran), so from here on a program that
  // missed the mouse would be minimised or warn.
  EXPECT_EQ(StartSecondCopy(test::paths::DemoProgramFile()), 1);
  EXPECT_TRUE(KeepsHolding([&] {
    return !x_.Iconic(main) && x_.CountVisible(WarningTitle()) == 0;
  })) << "the device was not seen as present";
  x_.Screenshot(test::paths::ArtifactFolder() + "demo_program_window.png");

  // A key button's menu, and its media sub-menu, as the program shows them.
  const auto popups = [&] {
    return x_.Search({"--onlyvisible", "--classname", "ms1-config"}).size();
  };
  const std::size_t windows = popups();
  x_.Click(main, 447, 147);  // key button 11
  ASSERT_TRUE(test::PollFor([&] { return popups() == windows + 1; })) << "no button menu";
  x_.X({"/usr/bin/xdotool", "mousemove_relative", "--", "80", "60"});  // over "Media"
  test::PollFor([&] { return popups() == windows + 2; }, 10000);
  x_.Screenshot(test::paths::ArtifactFolder() + "button_menu_in_program.png");
  x_.Keys({"Escape", "Escape"});
  ASSERT_TRUE(test::PollFor([&] { return popups() == windows; })) << "the menu stayed open";

  // Minimised by the user, it comes back to the front on the next start.
  x_.X({"/usr/bin/xdotool", "windowminimize", main});
  ASSERT_TRUE(test::PollFor([&] { return x_.Iconic(main); })) << "the window did not minimise";
  EXPECT_EQ(StartSecondCopy(test::paths::DemoProgramFile()), 1);
  EXPECT_TRUE(test::PollFor([&] { return !x_.Iconic(main); })) << "the window was not restored";
  EXPECT_TRUE(test::PollFor([&] {
    return x_.X({"/usr/bin/xdotool", "getactivewindow"}).out == main + "\n";
  })) << "the window did not come to the front";
  EXPECT_EQ(x_.CountVisible(WarningTitle()), 0);

  PressExitButton(main);
  EXPECT_EQ(ProgramExit(), 0);
}

// The running program owns its data folder: a profile added beside it would
// be gone at its next save, so ms1ctl refuses to write until it has ended.
TEST_F(DemoCopy, Ms1ctlWritesTheStoreOnlyWhenTheProgramHasEnded) {
  StartProgram(ProgramInCopy());
  const std::string main = x_.FindVisible(MainTitle());
  ASSERT_FALSE(main.empty()) << "the main window did not appear";

  const test::RunResult refused = Ctl({"profiles", "add", "Extra"});
  EXPECT_NE(refused.exit_code, 0);
  // Named from what the program wrote into its lock file.
  EXPECT_NE(refused.err.find("in use by ms1-config (process "), std::string::npos) << refused.err;
  const test::RunResult listed = Ctl({"profiles", "list"});
  EXPECT_EQ(listed.exit_code, 0) << listed.err;
  EXPECT_EQ(listed.out.find("Extra"), std::string::npos);

  PressExitButton(main);
  ASSERT_EQ(ProgramExit(), 0);
  const test::RunResult added = Ctl({"profiles", "add", "Extra"});
  EXPECT_EQ(added.exit_code, 0) << added.err;
  EXPECT_NE(Ctl({"profiles", "list"}).out.find("Extra"), std::string::npos);
}

}  // namespace
}  // namespace ms1
