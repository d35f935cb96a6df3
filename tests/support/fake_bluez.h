// Test helper: a private system bus (dbus-daemon with its own configuration,
// its address read from --print-address on a pipe) with the fake BlueZ on it,
// in front of the virtual mouse of MS1_VMOUSE_DIR (which must run already).
// DBUS_SYSTEM_BUS_ADDRESS points at the bus while the object lives; both
// processes are ended and awaited at the end.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "support/pipe_spawn.h"
#include "support/test_paths.h"

namespace ms1::test {

// What the fake BlueZ publishes besides the mouse with its one service.
struct FakeBluezOptions {
  bool second_service = false;
  bool first_write_fails = false;
  bool paired_mouse = false;
  bool foreign = false;
  bool bluez = true;  // false: the bus alone, nobody owns org.bluez
};

class FakeBluez {
 public:
  using Options = FakeBluezOptions;
  using Calls = std::vector<std::pair<std::string, std::string>>;  // member, object path

  explicit FakeBluez(Options options = {}) {
    int address_pipe = -1;
    daemon_ = SpawnWithPipe({"/usr/bin/dbus-daemon", "--config-file=" + paths::FakeBluezBusConfig(),
                     "--nofork", "--print-address=%FD%"},
                    address_pipe);
    address_ = ReadPipeLine(address_pipe);
    if (address_.empty()) return;
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address_.c_str(), 1);
    if (!options.bluez) {
      ready_ = true;
      return;
    }
    std::vector<std::string> argv = {"/usr/bin/python3", paths::FakeBluezScript(),
                                     "--ready-fd=%FD%"};
    if (options.second_service) argv.push_back("--second-service");
    if (options.first_write_fails) argv.push_back("--first-write-fails");
    if (options.paired_mouse) argv.push_back("--paired-mouse");
    if (options.foreign) argv.push_back("--foreign");
    int ready_pipe = -1;
    fake_ = SpawnWithPipe(argv, ready_pipe);
    ready_ = ReadPipeLine(ready_pipe) == "ready";
  }
  ~FakeBluez() {
    // Killed: while it forwards a write the mouse never answers (a staged
    // hang) its main loop, which takes SIGTERM, does not run.
    EndChild(fake_, SIGKILL);
    EndChild(daemon_, SIGTERM);
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }
  FakeBluez(const FakeBluez&) = delete;
  FakeBluez& operator=(const FakeBluez&) = delete;

  bool ready() const { return ready_; }

  // The BlueZ calls made so far, in order.
  Calls TakeCalls() {
    Calls calls;
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0) return calls;
    sd_bus_message* reply = nullptr;
    if (sd_bus_call_method(bus, "org.bluez", "/", "org.ms1.FakeBluez", "Calls", nullptr, &reply,
                           "") >= 0 &&
        sd_bus_message_enter_container(reply, 'a', "(ss)") >= 0) {
      const char* member = nullptr;
      const char* path = nullptr;
      while (sd_bus_message_read(reply, "(ss)", &member, &path) > 0) calls.emplace_back(member, path);
    }
    sd_bus_message_unref(reply);
    sd_bus_call_method(bus, "org.bluez", "/", "org.ms1.FakeBluez", "ClearCalls", nullptr, nullptr,
                       "");
    sd_bus_flush_close_unref(bus);
    return calls;
  }

 private:
  pid_t daemon_ = -1;
  pid_t fake_ = -1;
  std::string address_;
  bool ready_ = false;
};

}  // namespace ms1::test
