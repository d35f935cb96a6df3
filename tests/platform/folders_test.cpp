#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(fs::exists(folder + "ms1_platform_tests"));
  EXPECT_EQ(ProgramFolderOf("/opt/ms1/ms1-config"), "/opt/ms1/");
  EXPECT_EQ(ProgramFolderOf("/ms1-config"), "/");  // at the root
}

class DataFolderTest : public test::TempDirTest {
 protected:
  std::string program() const { return (dir / "prog").string() + "/"; }
  std::string xdg() const { return (dir / "xdg").string(); }
  void SetUp() override {
    TempDirTest::SetUp();
    fs::create_directories(dir / "prog");
  }
};

TEST_F(DataFolderTest, IsDataBesideTheProgramAndIsCreatedOnDemand) {
  const std::string data = DataFolderFor(program(), xdg().c_str(), "/nonexistent-home");
  EXPECT_EQ(data, program() + "Data/");
  EXPECT_TRUE(fs::is_directory(data));
  EXPECT_EQ(DataFolderFor(program(), nullptr, nullptr), data);  // already there
  EXPECT_FALSE(fs::exists(xdg()));
}

TEST_F(DataFolderTest, FallsBackToTheUserDataFolderWhenDataCannotBeUsed) {
  test::WriteBytes(dir / "prog" / "Data", "a file named Data");
  EXPECT_EQ(DataFolderFor(program(), xdg().c_str(), nullptr), xdg() + "/ms1-config/");
  EXPECT_TRUE(fs::is_directory(xdg() + "/ms1-config"));
  // Without XDG_DATA_HOME (or with a relative one) the home folder's default.
  const std::string home = (dir / "home").string();
  EXPECT_EQ(DataFolderFor(program(), "relative/path", home.c_str()),
            home + "/.local/share/ms1-config/");
  EXPECT_TRUE(fs::is_directory(home + "/.local/share/ms1-config"));
  // With nowhere else to go, the designed path is returned all the same.
  EXPECT_EQ(DataFolderFor(program(), "", ""), program() + "Data/");
}

// An installed folder is never written, even when it could be (as root).
TEST_F(DataFolderTest, AnInstalledProgramKeepsItsDataInTheUserFolderOnly) {
  test::WriteBytes(dir / "prog" / kInstalledMarker, "");
  const std::string home = (dir / "home").string();
  const std::string xdg_home = xdg();
  struct Case {
    const char* xdg;
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {xdg_home.c_str(), home.c_str(), xdg_home + "/ms1-config/"},
      {nullptr, home.c_str(), home + "/.local/share/ms1-config/"},
      {"", "", "/nonexistent/.local/share/ms1-config/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DataFolderFor(program(), c.xdg, c.home), c.expected) << c.expected;
  }
  EXPECT_FALSE(fs::exists(dir / "prog" / "Data"));
}

TEST_F(DataFolderTest, FallsBackWhenTheProgramFolderIsReadOnly) {
  fs::permissions(dir, fs::perms::all);
  fs::permissions(dir / "prog", fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
  fs::create_directories(xdg());
  fs::permissions(xdg(), fs::perms::all);
  // Permissions do not bind root: ask as an unprivileged user.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const bool ok = DataFolderFor(program(), xdg().c_str(), nullptr) == xdg() + "/ms1-config/" &&
                    !fs::exists(dir / "prog" / "Data");
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  fs::permissions(dir / "prog", fs::perms::owner_all);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace ms1
