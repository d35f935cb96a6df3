// `cmake --install` into a staging folder: the layout a package is made of,
// and the installed program run from there on the virtual mouse (its driver
// files dropped into the installed program folder), which keeps its data in
// the XDG data folder and never under the prefix.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "program_session.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

constexpr char kAppId[] = "io.ms1config.Ms1Config";

class InstalledProgram : public test::ProgramSession {
 protected:
  static void SetUpTestSuite() {
    stage_ = new QTemporaryDir;
    const test::RunResult installed =
        test::Run({"/usr/bin/env", "DESTDIR=" + stage(), test::paths::CMakeProgram(), "--install",
                   test::paths::BuildFolder(), "--prefix", "/usr"});
    install_log_ = new std::string(installed.out + installed.err);
    install_ok_ = installed.exit_code == 0;
  }
  static void TearDownTestSuite() {
    delete stage_;
    delete install_log_;
  }
  void SetUp() override { ASSERT_TRUE(install_ok_) << *install_log_; }

  static std::string stage() { return stage_->path().toStdString(); }
  static fs::path usr() { return fs::path(stage()) / "usr"; }
  static fs::path programFolder() { return usr() / "lib/ms1-config"; }

  static inline QTemporaryDir* stage_ = nullptr;
  static inline std::string* install_log_ = nullptr;
  static inline bool install_ok_ = false;
};

TEST_F(InstalledProgram, LaysOutTheProgramFolderLinksRuleDesktopFilesAndDocs) {
  const std::string id = kAppId;
  const std::pair<std::string, std::vector<std::string>> folders[] = {
      {"lib/ms1-config/",
       {"ms1-config", "ms1ctl", "hiddriver_1.so", "hiddriver_2.so", "Hook.so", "res/main.xml",
        "res/lan.xml", "res/MS/MS_1/ms_1_menu.xml"}},
      {"lib/udev/", {"rules.d/70-ms1-config.rules", "ms1-hid-vendor"}},
      {"share/",
       {"applications/" + id + ".desktop", "metainfo/" + id + ".metainfo.xml",
        "dbus-1/interfaces/io.ms1config.Ms1Config1.xml", "man/man1/ms1ctl.1.gz",
        "man/man1/ms1-config.1.gz", "doc/ms1-config/changelog.gz",
        "bash-completion/completions/ms1ctl", "doc/ms1-config/copyright"}},
      {"share/icons/hicolor/",
       {"scalable/apps/" + id + ".svg", "16x16/apps/" + id + ".png", "48x48/apps/" + id + ".png",
        "256x256/apps/" + id + ".png"}},
  };
  for (const auto& [folder, files] : folders) {
    for (const std::string& file : files) {
      EXPECT_TRUE(fs::is_regular_file(usr() / (folder + file))) << folder << file;
    }
  }
  // The links on the PATH lead into the program folder, relatively, so the
  // program finds its drivers and skin beside itself wherever the prefix is.
  for (const char* program : {"ms1-config", "ms1ctl"}) {
    const fs::path link = usr() / "bin" / program;
    ASSERT_TRUE(fs::is_symlink(link)) << link;
    EXPECT_TRUE(fs::read_symlink(link).is_relative());
    EXPECT_TRUE(fs::equivalent(link, programFolder() / program));
  }
  EXPECT_FALSE(fs::exists(programFolder() / "Data"));
  // The package carries no virtual mouse, and no command to steer one.
  EXPECT_FALSE(fs::exists(programFolder() / "ms1sim"));
  const test::RunResult help = test::Run({(usr() / "bin/ms1ctl").string(), "--help"});
  EXPECT_EQ(help.out.find("sim"), std::string::npos) << help.out;
  EXPECT_NE(test::Run({(usr() / "bin/ms1ctl").string(), "sim", "state"}).exit_code, 0);
}

class InstalledProgramOnX : public InstalledProgram {
 protected:
  void SetUp() override {
    InstalledProgram::SetUp();
    StartX();
    PlugVirtualMouse();
    for (const char* driver : {"hiddriver_1.so", "hiddriver_2.so"}) {
      fs::copy_file(fs::path(test::paths::VirtualDriversFolder()) / driver,
                    programFolder() / driver, fs::copy_options::overwrite_existing);
    }
  }
  // A user's home; the package carries no simulator, so it is named.
  std::vector<std::string> UserEnv() const {
    return {"HOME=" + home_.path().toStdString(), "XDG_DATA_HOME=" + xdg().string(),
            "MS1_VMOUSE_SIM=" + test::paths::VirtualMouseSimulatorFile()};
  }
  fs::path xdg() const { return fs::path(home_.path().toStdString()) / "xdg"; }

  QTemporaryDir home_;
};

// Run as root here, the program could write into the program folder: the
// installed one must not.
TEST_F(InstalledProgramOnX, RunsOnTheMouseAndKeepsItsDataInTheXdgDataFolder) {
  StartProgram((usr() / "bin/ms1-config").string(), UserEnv());
  const std::string main = x_.FindVisible(MainTitle());
  ASSERT_FALSE(main.empty()) << "the installed program did not show its window";
  EXPECT_TRUE(fs::exists(xdg() / "ms1-config/ms1-config.lock"));

  PressExitButton(main);
  ASSERT_EQ(ProgramExit(), 0);
  const test::RunResult added =
      RunInSession({(usr() / "bin/ms1ctl").string(), "profiles", "add", "Installed"}, UserEnv());
  EXPECT_EQ(added.exit_code, 0) << added.err;
  EXPECT_TRUE(fs::exists(xdg() / "ms1-config/ms_1/pro.data"));
  EXPECT_FALSE(fs::exists(programFolder() / "Data"));
}

}  // namespace
}  // namespace ms1
