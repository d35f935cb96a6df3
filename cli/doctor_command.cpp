// `ms1ctl doctor`: what stands between this user and a working mouse, each
// problem with its fix. Exit code 0 only when nothing is wrong.
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/doctor_checks.h"
#include "device/driver/feature_drivers.h"
#include "platform/folders.h"
#include "platform/input_capture.h"

namespace ms1::cli {
namespace {

namespace fs = std::filesystem;
using Status = Check::Status;

struct DoctorOptions {
  bool json = false;
  std::string root = "/";
  std::string program;
  std::string data;
};

// Installed, ms1ctl lies in the program folder; in a build tree the program
// folder is app/ beside ms1ctl's folder.
std::string DefaultProgramFolder() {
  const fs::path folder = ProgramFolder();
  if (fs::exists(folder / "ms1-config")) return folder.string();
  return (folder.parent_path().parent_path() / "app").string() + "/";
}

std::vector<Check> RunChecks(const DoctorOptions& options, std::vector<MouseNode>& nodes) {
  const std::string program =
      options.program.empty() ? DefaultProgramFolder() : fs::path(options.program + "/").string();
  const fs::path data = options.data.empty() ? fs::path(DataFolder()) : fs::path(options.data);
  nodes = FindMouseNodes(options.root);
  const fs::path rule = FindUdevRule(options.root);

  std::vector<Check> checks = MouseNodeChecks(nodes, !rule.empty());
  checks.push_back(UdevRuleCheck(rule, fs::path(program).parent_path()));
  checks.push_back(DriverCheck(program, kWiredDriver.file_name));
  checks.push_back(DriverCheck(program, kReceiverDriver.file_name));
  checks.push_back(HookCheck(program));
  checks.push_back(DataFolderCheck(data));
  checks.push_back(ProgramRunningCheck(data));
  checks.push_back(InputCaptureCheck(InputCaptureProblem(), WaylandSession()));
  bool usb_link_usable = false;
  for (const MouseNode& n : nodes) usb_link_usable |= n.opened && n.can_open;
  checks.push_back(BluezCheck(AskBluez(), usb_link_usable));
  return checks;
}

const char* StatusName(Status status) {
  switch (status) {
    case Status::kOk:
      return "ok";
    case Status::kNote:
      return "note";
    case Status::kProblem:
      return "problem";
  }
  return "";
}

void PrintText(const std::vector<Check>& checks) {
  for (const Check& c : checks) {
    std::string status = c.status == Status::kProblem ? "PROBLEM" : StatusName(c.status);
    status.resize(8, ' ');
    std::cout << status << c.name << ": " << c.detail << "\n";
    if (!c.fix.empty()) std::cout << "        fix: " << c.fix << "\n";
  }
}

void PrintJson(const std::vector<Check>& checks, const std::vector<MouseNode>& nodes, bool ok) {
  nlohmann::json out{
      {"ok", ok}, {"checks", nlohmann::json::array()}, {"nodes", nlohmann::json::array()}};
  for (const Check& c : checks) {
    nlohmann::json check{{"check", c.name}, {"status", StatusName(c.status)}, {"detail", c.detail}};
    if (!c.fix.empty()) check["fix"] = c.fix;
    out["checks"].push_back(check);
  }
  for (const MouseNode& n : nodes) {
    out["nodes"].push_back(
        {{"link", LinkName(n.link)}, {"node", n.node.string()}, {"can_open", n.can_open}});
  }
  std::cout << out.dump(2) << "\n";
}

}  // namespace

void RegisterDoctorCommand(CLI::App& app) {
  auto options = std::make_shared<DoctorOptions>();
  auto* doctor = app.add_subcommand(
      "doctor", "Tell what keeps the mouse from working here, with the fix for each problem");
  doctor->add_flag("--json", options->json, "Print JSON");
  doctor->add_option("--program", options->program,
                     "Program folder (default: that of ms1ctl, or app/ in a build tree)");
  doctor->add_option("--data", options->data, "Data folder (default: the program's)");
  // Tests point it at a fake tree of sys/class/hidraw, dev and udev rule folders.
  doctor->add_option("--root", options->root, "Root of sys/, dev/ and the udev rule folders")
      ->group("");
  doctor->callback([options] {
    std::vector<MouseNode> nodes;
    const std::vector<Check> checks = RunChecks(*options, nodes);
    bool ok = true;
    for (const Check& c : checks) ok &= c.status != Status::kProblem;
    if (options->json) {
      PrintJson(checks, nodes, ok);
    } else {
      PrintText(checks);
    }
    if (!ok) throw CLI::RuntimeError(kFailure);
  });
}

}  // namespace ms1::cli
