// Commands on the program's own stores: `profiles ...` and `macros ...`.
// They work on the data folder the program uses (that of the program beside
// ms1ctl; see DataFolder) unless --data names another, and call the same
// store functions and command rules as the program. The running program owns
// its data folder: commands that write a store refuse while it runs. Reading
// commands write nothing at all, not even a store where there was none.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/profile_view.h"
#include "cli/program_bus.h"
#include "model/data_folder_owner.h"
#include "model/data_folder_stores.h"
#include "model/macro_store.h"
#include "model/named_list.h"
#include "model/profile.h"
#include "model/profile_commands.h"
#include "model/profile_exchange.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "platform/folders.h"

namespace ms1::cli {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Options {
  std::string data;
  bool json = false;
  std::string name, other_name, file, output;
};
Options options;

void Warn(const StoreLoad& load) {
  if (!load.ok()) std::cerr << "ms1ctl: warning: " << load.problem << "\n";
  if (!load.set_aside.empty())
    std::cerr << "ms1ctl: the damaged file was kept as " << load.set_aside << "\n";
}

fs::path DataPath() {
  return options.data.empty() ? fs::path(DataFolder()) : fs::path(options.data);
}

// Held by a writing command from before it reads a store until it ends, so
// the program cannot start in between and no two commands interleave.
std::unique_ptr<DataFolderOwner> write_owner;

// Every command that writes a store calls this first; the others only read.
// While the program holds the data folder and answers on the session bus,
// the command goes to it instead (returned), so that the window and the
// mouse follow; when it does not answer, the command is refused.
std::unique_ptr<ProgramBus> OwnDataFolder() {
  write_owner = std::make_unique<DataFolderOwner>(DataPath());
  write_owner->OnKeptAside([](const fs::path& store, const fs::path& aside) {
    std::cerr << "ms1ctl: " << store << " was changed by another program; that version was kept as "
              << aside << "\n";
  });
  std::string error;
  // A folder that cannot hold the lock file cannot hold the store either;
  // the write that follows says so.
  if (write_owner->Take(std::chrono::milliseconds(0), error) != DataFolderLock::Result::kBusy) {
    return nullptr;
  }
  write_owner.reset();
  const fs::path data = DataPath();
  if (auto program = ProgramBus::Connect(); program && program->Serves(data)) return program;
  Fail("the data folder " + data.string() + " is in use by " +
       DescribeHolder(DataFolderLock::HolderOf(data), kUnknownHolder) +
       "; make the change in the program, or close it (or let the other command end) and try "
       "again");
}

// A file named to the program: it runs in another folder.
std::string FullPath(const std::string& file) {
  return fs::absolute(file).lexically_normal().string();
}

StoreAccess Access() {
  return write_owner ? StoreAccess::kReadWrite : StoreAccess::kReadOnly;
}

struct Profiles {
  fs::path data = DataPath();
  ProfileList list;
  int32_t selected = 0;

  Profiles() { Warn(LoadProfileStore(data, list, selected, kDefaultAddProfileText, Access())); }

  std::size_t Find(const std::string& name) const {
    const int index = FindProfile(list, Utf8ToUtf16(name));
    if (index < 0) Fail(NoSuchProfileText(name));
    return static_cast<std::size_t>(index);
  }
  void Save() const {
    std::string error;
    if (!SaveProfileStore(data, list, selected, error)) Fail(error);
  }
};

struct Macros {
  fs::path data = DataPath();
  MacroList list;

  Macros() { Warn(LoadMacroStore(data, list, Access())); }

  const MacroRecord& Find(const std::string& name) const {
    const int index = FindByName(list, Utf8ToUtf16(name));
    if (index < 0) Fail(NoSuchMacroText(name));
    return *list[static_cast<std::size_t>(index)];
  }
};

// A new profile name as the name dialog accepts it.
std::u16string NewProfileName(const Profiles& profiles, const std::string& name) {
  const std::u16string wide = Utf8ToUtf16(name);
  const std::string problem = ProfileNameProblem(CheckProfileName(profiles.list, wide), name);
  if (!problem.empty()) Fail(problem);
  return wide;
}

std::string NameOf(const ProfileSlot& p) {
  return Utf16ToUtf8(p.Name());
}
std::string NameOf(const MacroRecord& m) {
  return Utf16ToUtf8(FieldText(m.name));
}

void ListProfiles() {
  const Profiles profiles;
  json out = {{"selected", profiles.selected}, {"profiles", json::array()}};
  for (std::size_t i = 0; i < profiles.list.size(); ++i) {
    out["profiles"].push_back({{"index", i}, {"name", NameOf(profiles.list[i])}});
  }
  if (options.json) {
    std::cout << out.dump(2) << "\n";
    return;
  }
  for (std::size_t i = 0; i < profiles.list.size(); ++i) {
    std::cout << (static_cast<int32_t>(i) == profiles.selected ? "* " : "  ") << i << " "
              << NameOf(profiles.list[i]) << "\n";
  }
}

void AddProfile() {
  if (auto program = OwnDataFolder()) return program->Call("AddProfile", {options.name});
  Profiles profiles;
  AddNamedProfile(profiles.list, profiles.selected, NewProfileName(profiles, options.name));
  profiles.Save();
}

void DeleteProfile() {
  if (auto program = OwnDataFolder()) return program->Call("DeleteProfile", {options.name});
  Profiles profiles;
  if (!DeleteProfileAt(profiles.list, profiles.selected, profiles.Find(options.name))) {
    Fail(kOnlyProfileText);
  }
  profiles.Save();
}

void RenameProfile() {
  if (auto program = OwnDataFolder()) {
    return program->Call("RenameProfile", {options.name, options.other_name});
  }
  Profiles profiles;
  const std::size_t index = profiles.Find(options.name);
  RenameProfileAt(profiles.list, index, NewProfileName(profiles, options.other_name));
  profiles.Save();
}

void ResetNamedProfile() {
  if (auto program = OwnDataFolder()) return program->Call("ResetProfile", {options.name});
  Profiles profiles;
  ResetProfile(*profiles.list[profiles.Find(options.name)]);
  profiles.Save();
}

void SelectProfile() {
  if (auto program = OwnDataFolder()) return program->Call("SelectProfile", {options.name});
  Profiles profiles;
  profiles.selected = static_cast<int32_t>(profiles.Find(options.name));
  profiles.Save();
}

void ExportNamedProfile() {
  const Profiles profiles;
  std::string error;
  if (!ExportProfile(options.output, *profiles.list[profiles.Find(options.name)], error))
    Fail(error);
}

void PrintImported(const std::string& name, std::size_t index,
                   const std::vector<std::string>& macros_added) {
  if (options.json) {
    std::cout << json{{"name", name}, {"index", index}, {"macros_added", macros_added}}.dump(2)
              << "\n";
  } else {
    std::cout << name << "\n";
  }
}

void ImportProfileFile() {
  if (auto program = OwnDataFolder()) {
    int index = 0;
    std::vector<std::string> added;
    const std::string name = program->ImportProfile(FullPath(options.file), index, added);
    return PrintImported(name, static_cast<std::size_t>(index), added);
  }
  Profiles profiles;
  Macros macros;
  DataFolderStores stores(profiles.data);
  ProfileImport result;
  std::string error;
  if (!ImportProfileSelected(options.file, stores, profiles.list, profiles.selected, macros.list,
                             result, error)) {
    Fail(error);
  }
  profiles.Save();
  std::vector<std::string> added;
  for (std::size_t i = macros.list.size() - result.macros_added; i < macros.list.size(); ++i) {
    added.push_back(NameOf(*macros.list[i]));
  }
  PrintImported(NameOf(profiles.list[result.index]), result.index, added);
}

json MacroJson(const MacroRecord& m) {
  return {{"name", NameOf(m)},
          {"loop_count", m.loop_count},
          {"steps", MacroStepsToJson(m.actions, m.action_count, ActiveKeyNames(ProgramFolder()))}};
}

void ListMacros() {
  const Macros macros;
  json out = json::array();
  for (const auto& m : macros.list) {
    out.push_back(
        {{"name", NameOf(*m)}, {"steps", m->action_count}, {"loop_count", m->loop_count}});
  }
  if (options.json) {
    std::cout << out.dump(2) << "\n";
    return;
  }
  for (const json& m : out) {
    std::cout << m["name"].get<std::string>() << " (" << m["steps"].get<int>() << " steps)\n";
  }
}

void ShowMacro() {
  const Macros macros;
  const json view = MacroJson(macros.Find(options.name));
  if (options.json) {
    std::cout << view.dump(2) << "\n";
    return;
  }
  std::cout << "Macro \"" << view["name"].get<std::string>() << "\", loops "
            << view["loop_count"].get<int>() << "\n";
  for (const json& step : view["steps"]) std::cout << "  " << MacroStepLine(step) << "\n";
}

void ImportMacroFile() {
  std::size_t index = 0;
  std::string name;
  if (auto program = OwnDataFolder()) {
    int added_at = 0;
    name = program->ImportMacro(FullPath(options.file), added_at);
    index = static_cast<std::size_t>(added_at);
  } else {
    Macros macros;
    DataFolderStores stores(macros.data);
    std::string error;
    if (!ImportMacro(options.file, stores, macros.list, index, error)) Fail(error);
    name = NameOf(*macros.list[index]);
  }
  if (options.json) {
    std::cout << json{{"name", name}, {"index", index}}.dump(2) << "\n";
  } else {
    std::cout << name << "\n";
  }
}

void ExportNamedMacro() {
  const Macros macros;
  std::string error;
  if (!ExportMacro(options.output, macros.Find(options.name), error)) Fail(error);
}

CLI::App* Command(CLI::App& group, const char* name, const char* help, void (*run)(),
                  bool prints = false) {
  auto* command = group.add_subcommand(name, help);
  command->add_option("--data", options.data, "Data folder (default: the program's)");
  if (prints) command->add_flag("--json", options.json, "Print JSON");
  command->callback(run);
  return command;
}

void AddName(CLI::App* command, const char* what) {
  command->add_option("NAME", options.name, what)->required();
}

void AddOutput(CLI::App* command) {
  command->add_option("-o,--output", options.output, "File to write")->required();
}

}  // namespace

void RegisterStoreCommands(CLI::App& app) {
  auto* profiles = app.add_subcommand("profiles", "The stored profiles");
  profiles->require_subcommand(1);
  Command(*profiles, "list", "List the profiles; * marks the selected one", &ListProfiles, true);
  AddName(Command(*profiles, "add", "Add a default profile and select it", &AddProfile),
          "New name");
  AddName(Command(*profiles, "delete", "Delete a profile", &DeleteProfile), "Profile");
  auto* rename = Command(*profiles, "rename", "Rename a profile", &RenameProfile);
  AddName(rename, "Profile");
  rename->add_option("NEW", options.other_name, "New name")->required();
  AddName(Command(*profiles, "reset", "Give a profile its defaults back", &ResetNamedProfile),
          "Profile");
  AddName(Command(*profiles, "select", "Make a profile the selected one", &SelectProfile),
          "Profile");
  auto* export_profile = Command(*profiles, "export", "Write a profile file", &ExportNamedProfile);
  AddName(export_profile, "Profile");
  AddOutput(export_profile);
  Command(*profiles, "import", "Add the profile of a profile file and its macros",
          &ImportProfileFile, true)
      ->add_option("FILE", options.file, "Profile file")
      ->required();

  auto* macros = app.add_subcommand("macros", "The stored macros");
  macros->require_subcommand(1);
  Command(*macros, "list", "List the macros", &ListMacros, true);
  AddName(Command(*macros, "show", "Show a macro's steps", &ShowMacro, true), "Macro");
  Command(*macros, "import", "Add the macro of a macro file", &ImportMacroFile, true)
      ->add_option("FILE", options.file, "Macro file")
      ->required();
  auto* export_macro = Command(*macros, "export", "Write a macro file", &ExportNamedMacro);
  AddName(export_macro, "Macro");
  AddOutput(export_macro);
}

}  // namespace ms1::cli
