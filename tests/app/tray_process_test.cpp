// The real program in its real driver folder on a desktop with a window
// manager and a tray, without a mouse: it minimises itself, its tray icon
// answers a left click with the no-device warning (only ever one) and a right
// click with the tray menu, whose "exit" ends the program cleanly.
#include <gtest/gtest.h>

#include <string>

#include "program_session.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

class TrayWithoutMouse : public test::ProgramSession {
 protected:
  void SetUp() override { StartX({.window_manager = true, .tray = true}); }

  // A visible window of the program's that is neither its main window nor
  // the tray icon: the tray menu once it pops up.
  std::string FindPopup(const std::string& main, const std::string& icon) {
    std::string popup;
    test::PollFor([&] {
      for (const std::string& id : x_.Search({"--onlyvisible", "--class", "^ms1-config$"})) {
        if (id != main && id != icon) popup = id;
      }
      return !popup.empty();
    });
    return popup;
  }
};

TEST_F(TrayWithoutMouse, MinimisesWarnsOnceFromTheTrayAndExitsFromTheTrayMenu) {
  StartProgram(test::paths::ProgramFile());

  // No device: the window minimises itself right after it is shown.
  const std::string main = x_.FindWindow({"--name", "^" + MainTitle() + "$"});
  ASSERT_FALSE(main.empty()) << "the main window was not created";
  EXPECT_TRUE(test::PollFor([&] { return x_.Iconic(main); })) << "the window did not minimise";

  const std::string icon = x_.FindTrayIcon("ms1-config");
  ASSERT_FALSE(icon.empty()) << "no icon docked in the tray";

  // Left click: the no-device warning, and the window stays minimised.
  x_.Click(icon, 8, 8);
  const std::string warning = x_.FindVisible(WarningTitle());
  ASSERT_FALSE(warning.empty()) << "a left click on the tray icon opened no warning";
  x_.Screenshot(test::paths::ArtifactFolder() + "tray_no_device_warning.png");
  EXPECT_TRUE(x_.Iconic(main));

  // While it is open, neither another left click nor a second start opens one more.
  x_.Click(icon, 8, 8);
  EXPECT_EQ(StartSecondCopy(test::paths::ProgramFile()), 1);
  EXPECT_TRUE(KeepsHolding([&] { return x_.CountVisible(WarningTitle()) == 1; }))
      << "a second warning came up";

  PressWarningOk(warning);
  ASSERT_TRUE(test::PollFor([&] { return x_.CountVisible(WarningTitle()) == 0; }))
      << "the warning did not close";

  // Right click: the tray menu; its last item is "exit".
  x_.Click(icon, 8, 8, 3);
  const std::string menu = FindPopup(main, icon);
  ASSERT_FALSE(menu.empty()) << "a right click on the tray icon opened no menu";
  x_.Screenshot(test::paths::ArtifactFolder() + "tray_menu.png");
  x_.Keys({"Up", "Return"});
  EXPECT_EQ(ProgramExit(), 0);
}

}  // namespace
}  // namespace ms1
