#include "cli/bluez_devices.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <nlohmann/json.hpp>

#include "model/protocol/link_ids.h"

extern char** environ;

namespace ms1::cli {
namespace {

using nlohmann::json;

std::string Lower(std::string text) {
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The mouse's ids in a lower-cased modalias: "v045ep0040" of
// "usb:v045Ep0040d0001" or "bluetooth:v045Ep0040d...".
std::string MouseModalias() {
  return Lower("v" + link_ids::IdText(link_ids::kBluetoothVendor) + "p" +
               link_ids::IdText(link_ids::kBluetoothProduct));
}

// A property of busctl's JSON: {"type":"b","data":true}.
template <typename T>
T Property(const json& properties, const char* name, T fallback) {
  const auto p = properties.find(name);
  if (p == properties.end() || !p->is_object() || !p->contains("data")) return fallback;
  try {
    return p->at("data").get<T>();
  } catch (const json::exception&) {
    return fallback;
  }
}

struct Output {
  int exit_code = -1;
  std::string text;
};

// Runs argv without a shell; its standard output, standard error dropped.
Output Capture(const std::array<const char*, 10>& argv) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", 0, 0);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr,
                                     const_cast<char* const*>(argv.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  Output out;
  char buffer[4096];
  for (ssize_t n; spawned == 0 && (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
    out.text.append(buffer, static_cast<size_t>(n));
  ::close(pipe_fds[0]);
  int status = 0;
  if (spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    out.exit_code = WEXITSTATUS(status);
  return out;
}

}  // namespace

BluezMouse BluezMouseFromManagedObjects(const std::string& busctl_json) {
  BluezMouse mouse;
  const json reply = json::parse(busctl_json, nullptr, /*allow_exceptions=*/false);
  if (!reply.is_object() || !reply.contains("data") || !reply["data"].is_array() ||
      reply["data"].empty() || !reply["data"][0].is_object()) {
    mouse.error = "unexpected answer from org.bluez";
    return mouse;
  }
  mouse.reachable = true;
  for (const auto& [path, interfaces] : reply["data"][0].items()) {
    const auto device = interfaces.find("org.bluez.Device1");
    if (device == interfaces.end()) continue;
    if (Lower(Property<std::string>(*device, "Modalias", "")).find(MouseModalias()) ==
        std::string::npos)
      continue;
    mouse.known = true;
    mouse.paired = Property<bool>(*device, "Paired", false);
    mouse.connected = Property<bool>(*device, "Connected", false);
    mouse.address = Property<std::string>(*device, "Address", "");
    if (mouse.connected) break;  // of several pairings, the one in use
  }
  return mouse;
}

BluezMouse AskBluez() {
  const Output out = Capture({"busctl", "--system", "--json=short", "call", "org.bluez", "/",
                              "org.freedesktop.DBus.ObjectManager", "GetManagedObjects",
                              nullptr, nullptr});
  if (out.exit_code != 0) {
    BluezMouse mouse;
    mouse.error = out.exit_code < 0 ? "busctl could not be run" : "org.bluez does not answer";
    return mouse;
  }
  return BluezMouseFromManagedObjects(out.text);
}

}  // namespace ms1::cli
