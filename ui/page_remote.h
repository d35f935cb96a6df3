// The device page as the program's bus service sees it: its live state, and
// the profile and macro commands by name, run through the window's own
// commands so that the list, the store and the mouse follow at once.
#pragma once

#include "device/device_session.h"
#include "model/data_folder_stores.h"
#include "ui/profile_list_commands.h"
#include "ui/remote_commands.h"

namespace ms1 {

class PageRemote {
 public:
  PageRemote(DeviceSession& session, ProfileListCommands& commands, DataFolderStores& stores)
      : session_(session), commands_(commands), stores_(stores) {}

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
  DataFolderStores& stores_;
};

}  // namespace ms1
