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

#include "support/process.h"
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
    daemon_ = Spawn({"/usr/bin/dbus-daemon", "--config-file=" + paths::FakeBluezBusConfig(),
                     "--nofork", "--print-address=%FD%"},
                    address_pipe);
    address_ = ReadLine(address_pipe);
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
    fake_ = Spawn(argv, ready_pipe);
    ready_ = ReadLine(ready_pipe) == "ready";
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
  // Starts argv with a pipe whose write end replaces "%FD%" in the arguments.
  static pid_t Spawn(std::vector<std::string> argv, int& read_end) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
    const int inherited = ::fcntl(fds[1], F_DUPFD, 3);  // without close-on-exec
    for (std::string& arg : argv) {
      if (const auto at = arg.find("%FD%"); at != std::string::npos) {
        arg.replace(at, 4, std::to_string(inherited));
      }
    }
    const pid_t pid = test::Spawn(argv, {}, STDOUT_FILENO, STDERR_FILENO);
    ::close(inherited);
    ::close(fds[1]);
    read_end = fds[0];
    return pid;
  }

  // One line from the pipe, waiting at most a minute (a safety net only); the pipe is closed.
  static std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 60000) == 1 && ::read(fd, &c, 1) == 1 && c != '\n') line += c;
    ::close(fd);
    return line;
  }

  pid_t daemon_ = -1;
  pid_t fake_ = -1;
  std::string address_;
  bool ready_ = false;
};

}  // namespace ms1::test
