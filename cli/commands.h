// Each group of ms1ctl commands registers itself on the application.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "model/protocol/link_ids.h"

namespace ms1::cli {

// Exit code of a failed command; errors go to standard error.
inline constexpr int kFailure = 1;

// Ends the running command: the message goes to standard error and ms1ctl
// exits with kFailure.
[[noreturn]] void Fail(const std::string& message);

// Parses and runs the command line; the exit code, with usage errors and
// failures told on standard error.
int RunCommandLine(CLI::App& app, int argc, char** argv);

// The mouse's links as commands name them, in this order everywhere.
inline const std::vector<std::string> kLinkNames = [] {
  std::vector<std::string> names;
  for (ConnectionMode link : kAllLinks) names.emplace_back(LinkName(link));
  return names;
}();
// The same for a help text: "wired, receiver or ble".
inline const std::string kLinkChoices = [] {
  std::string text;
  for (std::size_t i = 0; i < kLinkNames.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == kLinkNames.size() ? " or " : ", ") + kLinkNames[i];
  }
  return text;
}();

void RegisterProfileFileCommands(CLI::App& app);
void RegisterDeviceCommands(CLI::App& app);
// The virtual mouse's commands, at the top level of `app` (ms1sim).
void RegisterSimCommands(CLI::App& app);
void RegisterStoreCommands(CLI::App& app);
void RegisterDoctorCommand(CLI::App& app);

}  // namespace ms1::cli
