// Commands that work on a single profile file: new-profile, reports, show.
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/profile_view.h"
#include "cli/report_text.h"
#include "model/apply_plan.h"
#include "model/profile.h"
#include "model/profile_commands.h"
#include "model/profile_file.h"
#include "model/text_field.h"
#include "platform/folders.h"

namespace ms1::cli {

namespace {

std::unique_ptr<ProfileRecord> LoadOrFail(const std::string& path) {
  auto profile = std::make_unique<ProfileRecord>();
  std::string error;
  if (!ReadProfileFile(path, *profile, error)) Fail(error);
  return profile;
}

void NewProfile(const std::string& name, const std::string& output) {
  const std::u16string wide = Utf8ToUtf16(name);
  // A file of its own: no other profile's name is taken.
  const std::string problem = ProfileNameProblem(CheckProfileName(ProfileList{}, wide), name);
  if (!problem.empty()) Fail(problem);
  auto profile = CreateProfile(wide);
  std::string error;
  if (!WriteProfileFile(output, *profile, error)) Fail(error);
}

void PrintReports(const std::string& path, const std::string& last_applied_path) {
  auto current = LoadOrFail(path);
  std::unique_ptr<ProfileRecord> last = std::make_unique<ProfileRecord>();
  std::memset(last.get(), 0, sizeof(ProfileRecord));
  const bool forced = last_applied_path.empty();
  if (!forced) last = LoadOrFail(last_applied_path);
  const ApplyPlan plan = PlanApply(*current, *last, forced);
  for (const Report& report : plan.reports) std::cout << HexLine(report) << "\n";
}

void Show(const std::string& path, bool as_json) {
  auto profile = LoadOrFail(path);
  const nlohmann::json view = ProfileToJson(*profile, ActiveKeyNames(ProgramFolder()));
  if (as_json) {
    std::cout << view.dump(2) << "\n";
  } else {
    std::cout << ProfileJsonToText(view);
  }
}

}  // namespace

void RegisterProfileFileCommands(CLI::App& app) {
  auto* create = app.add_subcommand("new-profile", "Write a default profile file");
  static std::string name, output;
  create->add_option("NAME", name, "Profile name (at most 49 characters)")->required();
  create->add_option("-o,--output", output, "Profile file to write")->required();
  create->callback([] { NewProfile(name, output); });

  auto* reports = app.add_subcommand("reports", "Print the reports one apply of a profile sends");
  static std::string file, last_applied;
  reports->add_option("FILE", file, "Profile file")->required();
  reports->add_option("--last-applied", last_applied,
                      "Profile last applied; without it, a forced full apply is shown");
  reports->callback([] { PrintReports(file, last_applied); });

  auto* show = app.add_subcommand("show", "Show a profile file readably");
  static std::string show_file;
  static bool as_json = false;
  show->add_option("FILE", show_file, "Profile file")->required();
  show->add_flag("--json", as_json, "Print JSON");
  show->callback([] { Show(show_file, as_json); });
}

}  // namespace ms1::cli
