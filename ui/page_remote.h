// The device page as the program's bus service sees it: its live state, and
// the profile and macro commands by name, run through the window's own
// commands so that the list, the store and the mouse follow at once.
#pragma once

#include <filesystem>
#include <functional>

#include "device/device_session.h"
#include "ui/profile_list_commands.h"
#include "ui/remote_commands.h"

namespace ms1 {

class PageRemote {
 public:
  PageRemote(DeviceSession& session, ProfileListCommands& commands,
             std::filesystem::path data_folder)
      : session_(session), commands_(commands), data_folder_(std::move(data_folder)) {}

  LiveState Live() const;
  RemoteOutcome Run(const RemoteCall& call);

 private:
  // The index of the profile named `name`, or -1.
  int FindProfileNamed(const std::string& name) const;
  RemoteOutcome ImportProfileFile(const std::string& file);
  RemoteOutcome ImportMacroFile(const std::string& file);
  RemoteOutcome ExportMacroFile(const std::string& name, const std::string& file);

  DeviceSession& session_;
  ProfileListCommands& commands_;
  std::filesystem::path data_folder_;
};

}  // namespace ms1
