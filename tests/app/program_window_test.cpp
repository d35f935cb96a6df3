// The real program on a real X server (Xvfb): its window appears, a second
// start exits with 1 and makes the first come forward (without a mouse: its
// no-device warning), and the exit button ends it cleanly.
#include <gtest/gtest.h>

#include <string>

#include "program_session.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

class ProgramWindow : public test::ProgramSession {
 protected:
  void SetUp() override { StartX(); }
};

TEST_F(ProgramWindow, ShowsItsWindowRefusesASecondCopyAndEndsByItsExitButton) {
  StartProgram(test::paths::ProgramFile());
  const std::string main = x_.FindVisible(MainTitle());
  ASSERT_FALSE(main.empty()) << "the main window did not appear";
  x_.Screenshot(test::paths::ArtifactFolder() + "program_window.png");

  const auto geometry = x_.X({"/usr/bin/xdotool", "getwindowgeometry", main});
  EXPECT_NE(geometry.out.find("800x572"), std::string::npos) << geometry.out;

  // A second copy: exit code 1, and the first reacts. Without a mouse it
  // answers with its no-device warning.
  EXPECT_EQ(StartSecondCopy(test::paths::ProgramFile()), 1);
  const std::string warning = x_.FindVisible(WarningTitle());
  ASSERT_FALSE(warning.empty()) << "the first copy did not come forward";
  PressWarningOk(warning);

  PressExitButton(main);
  EXPECT_EQ(ProgramExit(), 0);
}

}  // namespace
}  // namespace ms1
