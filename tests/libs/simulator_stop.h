// Test helper: ends a simulator and waits for its process to be gone, so that
// nothing outlives the test and its folder (socket, lock, log) is final.
#pragma once

#include <memory>
#include <string>

#include "libs/virtualmouse/sim_connection.h"
#include "support/process_exit.h"

namespace ms1::test {

// Limit of every wait here: only a safety net against a hung simulator.
inline constexpr int kSimulatorExitLimitMs = 60000;

// The simulator's process id as it reports it; 0 when it did not answer.
inline int SimulatorPid(vmouse::LineConnection& connection) {
  const nlohmann::json reply = connection.Request("ping", kSimulatorExitLimitMs);
  return reply.is_object() ? reply.value("pid", 0) : 0;
}

// Stops the simulator behind `connection` and returns once its process has
// exited: it removes its socket file and writes its last log lines (sanitizer
// reports come at exit) before that. False when it did not end in time.
inline bool StopSimulator(std::unique_ptr<vmouse::LineConnection> connection) {
  if (!connection) return true;
  const ProcessExitWatch process(SimulatorPid(*connection));
  connection->Request("stop", kSimulatorExitLimitMs);
  std::string ignored;
  while (connection->ReadLine(ignored, kSimulatorExitLimitMs)) {
  }
  connection.reset();
  return process.WaitForExit(kSimulatorExitLimitMs);
}

// The same for whichever simulator serves `dir`, if any.
inline bool StopSimulator(const std::string& dir) {
  return StopSimulator(vmouse::ConnectToSimulator(dir));
}

}  // namespace ms1::test
