// The simulator process: one VirtualMouse shared by every client of one
// instance folder, served over a Unix socket from a single-threaded poll loop.
#pragma once

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "libs/virtualmouse/sim_connection.h"
#include "libs/virtualmouse/sim_fault.h"
#include "libs/virtualmouse/virtual_mouse.h"

namespace ms1::vmouse {

struct ServerOptions {
  std::string dir;
  int ready_fd = -1;
  std::chrono::milliseconds idle_exit{30000};  // 0: never
  std::chrono::milliseconds heartbeat{2000};   // 0: no periodic status
  std::vector<ConnectionMode> plugged_at_start{ConnectionMode::kWired};
};

// Reads the MS1_VMOUSE_* environment and the command line over the defaults.
ServerOptions ParseServerOptions(int argc, char** argv);

class SimServer {
 public:
  explicit SimServer(ServerOptions options);
  ~SimServer();
  // Serves until stopped, signalled or idle; returns the exit code.
  int Run();

 private:
  struct Client {
    std::unique_ptr<LineConnection> connection;
    std::optional<ConnectionMode> watching;
    std::optional<ConnectionMode> opened;
  };

  bool Listen();
  void Accept();
  void Serve(Client& client);
  // The reply to one request line; null when it gets none (a staged hang).
  nlohmann::json Handle(Client& client, const std::string& line);
  nlohmann::json HandleSend(Client& client, const std::string& hex);
  nlohmann::json HandleSteering(const std::vector<std::string>& words);
  void Publish(const std::vector<LinkEvent>& events);
  nlohmann::json OpenedCounts() const;
  int PollTimeout() const;

  ServerOptions options_;
  VirtualMouse mouse_;
  std::optional<StagedFault> fault_;
  int lock_fd_ = -1;
  int listen_fd_ = -1;
  int signal_fd_ = -1;
  bool stopping_ = false;
  std::vector<std::unique_ptr<Client>> clients_;
  std::chrono::steady_clock::time_point idle_since_;
  std::chrono::steady_clock::time_point next_heartbeat_;
};

}  // namespace ms1::vmouse
