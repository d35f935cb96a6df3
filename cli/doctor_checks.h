// What `ms1ctl doctor` looks at, one check at a time. Each check says what it
// found and, for a problem, the one command or step that fixes it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/bluez_devices.h"
#include "cli/mouse_nodes.h"

namespace ms1::cli {

struct Check {
  enum class Status { kOk, kNote, kProblem };
  std::string name;
  Status status = Status::kOk;
  std::string detail;
  std::string fix;  // set for a problem
};

inline constexpr char kUdevRuleName[] = "70-ms1-config.rules";
// The rule's program, which udev finds in its own folder.
inline constexpr char kUdevRuleProgram[] = "ms1-hid-vendor";

// The folders udev reads rules from, under `root`.
// `text` as one argument of a shell command to paste: in single quotes, so
// that no space, glob or variable in a path reaches other files.
std::string ShellQuoted(const std::string& text);

std::vector<std::filesystem::path> UdevRuleFolders(const std::filesystem::path& root);

// The installed rule under `root`, or an empty path.
std::filesystem::path FindUdevRule(const std::filesystem::path& root);

Check UdevRuleCheck(const std::filesystem::path& rule, const std::filesystem::path& program_folder);
// One check per link with nodes, or one problem when no link has any.
std::vector<Check> MouseNodeChecks(const std::vector<MouseNode>& nodes, bool rule_installed);
Check DriverCheck(const std::string& program_folder, const char* file_name);
Check HookCheck(const std::string& program_folder);
Check DataFolderCheck(const std::filesystem::path& data_folder);
// Not a problem either way: whether the program holds the data folder.
Check ProgramRunningCheck(const std::filesystem::path& data_folder);
// `capture_problem` is InputCaptureProblem(); `wayland` whether the session is one.
Check InputCaptureCheck(const std::string& capture_problem, bool wayland);
// A missing BlueZ is a problem only when no cable or receiver node can be used.
Check BluezCheck(const BluezMouse& bluez, bool usb_link_usable);

}  // namespace ms1::cli
