// One isolated simulator instance per test: its own folder (MS1_VMOUSE_DIR),
// no periodic status, nothing plugged at start; stopped and awaited at the end
// so no process outlives the test.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "libs/virtualmouse/sim_connection.h"
#include "simulator_stop.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace ms1::test {

class SimInstance {
 public:
  explicit SimInstance(const std::string& name, const std::string& plugged = "")
      : dir_(MakeTempDir("ms1vm-" + name.substr(0, 20))) {
    ::setenv("MS1_VMOUSE_DIR", dir_.c_str(), 1);
    ::setenv("MS1_VMOUSE_SIM", paths::VirtualMouseSimulatorFile().c_str(), 1);
    ::setenv("MS1_VMOUSE_HEARTBEAT_MS", "0", 1);
    ::setenv("MS1_VMOUSE_IDLE_MS", "60000", 1);  // a safety net only
    ::setenv("MS1_VMOUSE_PLUGGED", plugged.c_str(), 1);
  }
  ~SimInstance() {
    Stop();
    RemoveTree(dir_);
  }

  // The simulator's standard error, sanitizer reports included.
  std::string SimulatorLog() const {
    std::ifstream log(vmouse::LogPath(dir_.string()));
    return {std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
  }

  // A control connection, starting the simulator when needed.
  nlohmann::json Request(const std::string& line) {
    if (!control_) control_ = vmouse::ConnectOrStart(paths::VirtualMouseSimulatorFile());
    if (!control_) return nullptr;
    return control_->Request(line);
  }
  nlohmann::json State() { return Request("state")["state"]; }
  nlohmann::json Log() { return Request("log")["log"]; }

  // Stops the simulator and waits until its process has exited; false when
  // it did not end in time.
  bool Stop() {
    if (!control_) control_ = vmouse::ConnectToSimulator(dir_.string());
    return StopSimulator(std::move(control_));
  }

  // The simulator's process id; 0 when it does not answer.
  int Pid() {
    const nlohmann::json reply = Request("ping");
    return reply.is_object() ? reply.value("pid", 0) : 0;
  }
  // Starts a simulator anew after the last one died (and has exited: until
  // then it holds the folder's lock), with these links plugged.
  bool Restart(const std::string& plugged) {
    control_.reset();
    ::setenv("MS1_VMOUSE_PLUGGED", plugged.c_str(), 1);
    return Pid() != 0;
  }

  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<vmouse::LineConnection> control_;
};

}  // namespace ms1::test
