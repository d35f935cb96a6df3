// Fixtures for tests of the program from the demo folder on the virtual mouse
// (cable plugged), on a desktop with a window manager.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <vector>

#include "../libs/simulator_stop.h"
#include "program_on_x.h"
#include "support/test_paths.h"

namespace ms1::test {

class DemoProgram : public ProgramOnX {
 protected:
  void SetUp() override { StartX(/*windowManager=*/true); }
  void TearDown() override {
    ProgramOnX::TearDown();
    // The driver file started the simulator; it must not outlive the test.
    EXPECT_TRUE(StopSimulator(vmouse_.path().toStdString())) << "the simulator did not exit";
  }
  void StartOnVirtualMouse() { StartProgram(paths::DemoProgramFile(), VirtualMouseEnv()); }
  std::vector<std::string> VirtualMouseEnv() const {
    return {"MS1_VMOUSE_DIR=" + vmouse_.path().toStdString(), "MS1_VMOUSE_PLUGGED=wired"};
  }

  // Watches for a while that the window stays shown and no warning comes up.
  // Only a wrong program fails here; a slow machine at worst lets it pass.
  bool StaysShownWithoutWarning(const std::string& main) {
    for (int i = 0; i < 30; ++i) {
      if (x_.Iconic(main) || x_.CountVisible(WarningTitle()) != 0) return false;
      QThread::msleep(50);
    }
    return true;
  }

  QTemporaryDir vmouse_;
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
  RunResult Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), paths::Ms1ctlFile());
    args.insert(args.end(), {"--data", (folder() / "Data").string()});
    return ms1::test::Run(args);
  }

  QTemporaryDir copy_;
};

}  // namespace ms1::test
