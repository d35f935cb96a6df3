#include "cli/doctor_checks.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <map>
#include <system_error>

#include "device/driver/driver_library.h"
#include "device/driver/folder_library.h"
#include "device/driver/input_hook_library.h"
#include "model/data_folder_lock.h"
#include "platform/input_capture.h"

namespace ms1::cli {
namespace {

namespace fs = std::filesystem;
using Status = Check::Status;

constexpr char kReinstall[] = "reinstall the package: sudo apt install --reinstall ms1-config";

Check Ok(std::string name, std::string detail) {
  return {std::move(name), Status::kOk, std::move(detail), {}};
}
Check Note(std::string name, std::string detail) {
  return {std::move(name), Status::kNote, std::move(detail), {}};
}
Check Problem(std::string name, std::string detail, std::string fix) {
  return {std::move(name), Status::kProblem, std::move(detail), std::move(fix)};
}

// `folder` + `file_name` loads; else the loader's reason.
std::string LoadError(const std::string& folder, const char* file_name) {
  std::string error;
  void* handle = OpenFolderLibrary(folder, file_name, &error);
  if (handle == nullptr) return error.empty() ? std::string("does not load") : error;
  CloseFolderLibrary(handle);
  return {};
}

bool Complete(const InputHookTable& t) {
  return t.installmousehook && t.removemousehook && t.enablemousehook && t.installhook &&
         t.removehook && t.enablehook && t.mousewheelenable;
}

std::string Nodes(const std::vector<MouseNode>& nodes) {
  std::string text;
  for (const MouseNode& n : nodes) text += (text.empty() ? "" : " ") + n.node.string();
  return text;
}

// The same nodes as arguments of a command to paste.
std::string QuotedNodes(const std::vector<MouseNode>& nodes) {
  std::string text;
  for (const MouseNode& n : nodes) text += (text.empty() ? "" : " ") + ShellQuoted(n.node.string());
  return text;
}

}  // namespace

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<fs::path> UdevRuleFolders(const fs::path& root) {
  std::vector<fs::path> folders;
  for (const char* folder : {"etc/udev/rules.d", "run/udev/rules.d", "usr/local/lib/udev/rules.d",
                             "usr/lib/udev/rules.d", "lib/udev/rules.d"}) {
    folders.push_back(root / folder);
  }
  return folders;
}

fs::path FindUdevRule(const fs::path& root) {
  std::error_code ec;
  for (const fs::path& folder : UdevRuleFolders(root)) {
    if (fs::exists(folder / kUdevRuleName, ec)) return folder / kUdevRuleName;
  }
  return {};
}

Check UdevRuleCheck(const fs::path& rule, const fs::path& program_folder) {
  if (!rule.empty()) return Ok("udev rule", rule.string());
  // An install from source keeps its copy at <prefix>/lib/udev/rules.d/, and
  // the rule's program beside udev's helpers of that prefix, where udev does
  // not look: both go where it does.
  const fs::path udev = program_folder.parent_path() / "udev";
  const fs::path copy = udev / "rules.d" / kUdevRuleName;
  std::error_code ec;
  const bool from_source = fs::exists(copy, ec);
  const std::string helper = from_source ? "sudo install -m 755 " +
                                               ShellQuoted((udev / kUdevRuleProgram).string()) +
                                               " /usr/lib/udev/ && "
                                         : std::string();
  return Problem("udev rule", "not installed: the mouse's nodes are for root only",
                 helper + "sudo install -m 644 " +
                     ShellQuoted(from_source ? copy.string() : std::string(kUdevRuleName)) +
                     " /etc/udev/rules.d/ && sudo udevadm control --reload-rules && "
                     "sudo udevadm trigger --subsystem-match=hidraw");
}

std::vector<Check> MouseNodeChecks(const std::vector<MouseNode>& nodes, bool rule_installed) {
  std::map<std::string, std::vector<MouseNode>> by_link;
  for (const MouseNode& n : nodes) by_link[LinkName(n.link)].push_back(n);
  if (by_link.empty()) {
    return {Problem("mouse", "no MS_1 hidraw node on any link",
                    "plug in the cable or the wireless receiver, or pair and connect the mouse "
                    "over Bluetooth (bluetoothctl)")};
  }
  std::vector<Check> checks;
  for (const auto& [link, link_nodes] : by_link) {
    std::vector<MouseNode> closed;
    for (const MouseNode& n : link_nodes)
      if (!n.can_open && n.opened) closed.push_back(n);
    const std::string name = link + " link";
    if (!link_nodes.front().opened) {
      checks.push_back(
          Ok(name, Nodes(link_nodes) + ": there; the program reaches it through BlueZ"));
    } else if (closed.empty()) {
      checks.push_back(Ok(name, Nodes(link_nodes) + ": this user may open them"));
    } else if (!rule_installed) {
      checks.push_back(Problem(name, Nodes(closed) + ": this user may not open them",
                               "install the udev rule (see \"udev rule\")"));
    } else {
      checks.push_back(Problem(
          name, Nodes(closed) + ": this user may not open them although the rule is installed",
          "unplug the mouse and plug it in again, or: sudo udevadm trigger --action=change " +
              QuotedNodes(closed) +
              " (access goes to the user logged in at the desktop, not to remote sessions)"));
    }
  }
  return checks;
}

Check DriverCheck(const std::string& program_folder, const char* file_name) {
  const std::string error = LoadError(program_folder, file_name);
  if (!error.empty()) return Problem(file_name, error, kReinstall);
  if (!DriverLibrary::Load(program_folder, file_name))
    return Problem(file_name, "lacks a driver entry point", kReinstall);
  return Ok(file_name, "loads from " + program_folder);
}

Check HookCheck(const std::string& program_folder) {
  const std::string error = LoadError(program_folder, "Hook.so");
  if (!error.empty()) return Problem("Hook.so", error, kReinstall);
  InputHookLibrary hook;
  hook.Load(program_folder);
  if (!Complete(hook.Table())) return Problem("Hook.so", "lacks a hook entry point", kReinstall);
  return Ok("Hook.so", "loads from " + program_folder);
}

Check DataFolderCheck(const fs::path& data_folder) {
  const std::string name = "data folder";
  std::error_code ec;
  if (!fs::is_directory(data_folder, ec))
    return Problem(name, data_folder.string() + " does not exist",
                   "mkdir -p -m 700 " + ShellQuoted(data_folder.string()));
  if (::access(data_folder.c_str(), W_OK | X_OK) != 0)
    return Problem(name, data_folder.string() + " cannot be written by this user",
                   "sudo chown -R \"$USER\" " + ShellQuoted(data_folder.string()));
  return Ok(name, data_folder.string() + " (writable)");
}

Check ProgramRunningCheck(const fs::path& data_folder) {
  if (!DataFolderLock::IsHeld(data_folder)) return Note("program", "not running");
  return Note("program", "running on this data folder: " +
                             DescribeHolder(DataFolderLock::HolderOf(data_folder), kUnknownHolder));
}

Check InputCaptureCheck(const std::string& capture_problem, bool wayland) {
  const std::string name = "macro recording (X11 RECORD)";
  if (capture_problem == kInputCaptureNoDisplayKey) {
    return Problem(name,
                   wayland ? "a Wayland session without XWayland: no X display"
                           : "no X display can be reached",
                   "log in to an X11 session, or a Wayland session with XWayland");
  }
  if (capture_problem == kInputCaptureNoRecordKey) {
    return Problem(name, "the X server lacks the RECORD extension",
                   "enable RECORD in the X server (Section \"Module\" Load \"record\")");
  }
  if (wayland) {
    return Note(name, "available through XWayland: only input to X11 windows is recorded");
  }
  return Ok(name, "available");
}

Check BluezCheck(const BluezMouse& bluez, bool usb_link_usable) {
  const std::string name = "Bluetooth LE";
  if (!bluez.reachable) {
    const std::string detail = "BlueZ is not reachable (" + bluez.error + ")";
    if (usb_link_usable) return Note(name, detail + "; the cable or the receiver works");
    return Problem(name, detail, "sudo systemctl start bluetooth");
  }
  if (!bluez.known) return Note(name, "BlueZ runs; the mouse is not paired");
  if (!bluez.connected) {
    return Note(name, "the mouse " + bluez.address +
                          (bluez.paired ? " is paired, not connected" : " is known, not paired") +
                          ": bluetoothctl connect " + bluez.address);
  }
  return Ok(name, "the mouse " + bluez.address + " is paired and connected");
}

}  // namespace ms1::cli
