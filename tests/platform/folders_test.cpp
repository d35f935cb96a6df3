#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

namespace ms1 {
namespace {
namespace fs = std::filesystem;

TEST(Folders, ProgramFolderIsTheTestBinarysFolderWithASlash) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(fs::exists(folder + "ms1_platform_tests"));
}

TEST(Folders, DataFolderBesideTheProgramIsCreatedOnDemand) {
  QTemporaryDir dir;
  const std::string program = dir.path().toStdString() + "/";
  const std::string home = program + "home/";
  EXPECT_EQ(DataFolderFor(program, home), program + "Data/");
  EXPECT_TRUE(fs::is_directory(program + "Data"));
  // Asking again finds it.
  EXPECT_EQ(DataFolderFor(program, home), program + "Data/");
}

TEST(Folders, AFileNamedDataSendsTheDataToTheUsersDataHome) {
  QTemporaryDir dir;
  const std::string program = dir.path().toStdString() + "/";
  std::ofstream(program + "Data") << "not a folder";
  const std::string home = program + "home/";
  EXPECT_EQ(DataFolderFor(program, home), home + "ms1-config/");
  EXPECT_TRUE(fs::is_directory(home + "ms1-config"));
  EXPECT_TRUE(fs::is_regular_file(program + "Data"));
}

TEST(Folders, AReadOnlyProgramFolderSendsTheDataToTheUsersDataHome) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  QTemporaryDir dir;
  const std::string program = dir.path().toStdString() + "/prog/";
  fs::create_directory(program);
  chmod(program.c_str(), 0555);
  const std::string home = dir.path().toStdString() + "/home/";
  EXPECT_EQ(DataFolderFor(program, home), home + "ms1-config/");
  chmod(program.c_str(), 0755);
}

}  // namespace
}  // namespace ms1
