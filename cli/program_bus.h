// The running program's service on the session bus, as ms1ctl reaches it:
// while the program owns its data folder, the commands that write a store
// go through it, so that the window shows the change at once and the mouse
// gets it; `status` and `monitor` read the live state from it.
#pragma once

#include <systemd/sd-bus.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ms1::cli {

class ProgramBus {
 public:
  // The service, when a session bus is there and the program owns its name;
  // null otherwise.
  static std::unique_ptr<ProgramBus> Connect();
  ~ProgramBus();
  ProgramBus(const ProgramBus&) = delete;
  ProgramBus& operator=(const ProgramBus&) = delete;

  // Whether the program keeps its data in `folder`.
  bool Serves(const std::filesystem::path& folder);

  // Calls `method` with string arguments. An error reply ends ms1ctl with
  // its message, as a refusal of ms1ctl's own does.
  void Call(const char* method, const std::vector<std::string>& args);
  // ImportProfile: the name it was added under, its index and the macros added.
  std::string ImportProfile(const std::string& file, int& index,
                            std::vector<std::string>& macros_added);
  // ImportMacro: the name it was added under and its index.
  std::string ImportMacro(const std::string& file, int& index);

  std::string StringProperty(const char* name);
  std::vector<std::string> StringsProperty(const char* name);
  int IntProperty(const char* name);
  bool BoolProperty(const char* name);

  // Calls `changed(name)` for each property the program says has changed,
  // until interrupted (SIGINT, SIGTERM) or the program leaves the bus.
  void FollowChanges(const std::function<void(const std::string& name)>& changed);

 private:
  explicit ProgramBus(sd_bus* bus) : bus_(bus) {}
  template <typename Value>
  Value TrivialProperty(const char* name, char type);
  sd_bus_message* CallWith(const char* method, const std::vector<std::string>& args);

  sd_bus* bus_;
};

}  // namespace ms1::cli
