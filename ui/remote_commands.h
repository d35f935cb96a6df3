// What the program's bus service shows of the device page and asks of it,
// as plain values: the service knows nothing of the page's controls.
#pragma once

#include <string>
#include <vector>

namespace ms1 {

// The live state, as the page holds it now.
struct LiveState {
  std::vector<std::string> links;  // the links present: "wired", "receiver", "ble"
  bool connected = false;          // a report could go to the mouse now
  bool asleep = false;
  int battery = -1;  // percent, -1 before the mouse reported one
  bool charging = false;
  int dpi_level = 0;    // 1 to 8 in the active mode, 0 without a profile
  int active_mode = 0;  // 0 to 4
  std::vector<std::string> profiles;
  int selected = -1;
  bool edits_waiting = false;  // edits the mouse may not hold yet

  bool operator==(const LiveState&) const = default;
};

// A command of the profile list or the macro store, by name, as ms1ctl has them.
struct RemoteCall {
  enum class Command {
    kSelectProfile,
    kAddProfile,
    kDeleteProfile,
    kRenameProfile,
    kResetProfile,
    kImportProfile,
    kExportProfile,
    kImportMacro,
    kExportMacro,
  };
  Command command;
  std::string name;   // the profile or macro; the new name of a rename or add
  std::string other;  // the new name of a rename
  std::string file;   // the file of an import or export

  static RemoteCall Of(Command command, std::string name, std::string other = {},
                       std::string file = {}) {
    return {command, std::move(name), std::move(other), std::move(file)};
  }
};

// How a command ended. `refusal` is empty when it was done, else why not, in
// the words ms1ctl uses; `kind` then sorts it for the bus's error names.
struct RemoteOutcome {
  enum class Kind { kDone, kNotFound, kInvalidName, kRefused, kFailed };
  Kind kind = Kind::kDone;
  std::string refusal;
  std::string name;  // what an import added
  int index = -1;
  std::vector<std::string> macros_added;

  static RemoteOutcome Refused(Kind kind, std::string why) {
    RemoteOutcome outcome;
    outcome.kind = kind;
    outcome.refusal = std::move(why);
    return outcome;
  }
  bool done() const { return kind == Kind::kDone; }
};

}  // namespace ms1
