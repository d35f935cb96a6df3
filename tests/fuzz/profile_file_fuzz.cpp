// A profile file as a user may receive it from anyone: imported beside a
// profile and a macro whose names it may take, every report of it encoded,
// then exported and read back.
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "model/data_folder_stores.h"
#include "model/macro_report.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/profile_exchange.h"
#include "model/profile_file.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "record_invariants.h"

namespace {

using namespace ms1;
namespace fs = std::filesystem;

int MacroButtonCount(const ProfileRecord& profile) {
  int count = 0;
  for (const ModeRecord& mode : profile.modes) {
    for (const ButtonRecord& button : mode.buttons) count += button.function_code == kFunctionMacro;
  }
  return count;
}

// Every macro button names the entry made from it, which holds its steps.
void RequireMacrosCarried(const ProfileRecord& profile, const MacroList& macros) {
  for (const ModeRecord& mode : profile.modes) {
    for (const ButtonRecord& button : mode.buttons) {
      if (button.function_code != kFunctionMacro) continue;
      fuzz::Require(button.macro_index >= 0 && static_cast<std::size_t>(button.macro_index) < macros.size(),
                    "a macro button does not name its new entry");
      const MacroRecord& macro = *macros[static_cast<std::size_t>(button.macro_index)];
      fuzz::Require(FieldText(macro.name) == FieldText(button.macro_name),
                    "a macro entry is not called what its button names");
      fuzz::Require(FitOf(MeasureMacro(macro)) == MacroFit::kFits, "a macro is too large to play");
      fuzz::Require(macro.action_count == button.macro_action_count &&
                        macro.loop_count == button.macro_loop_count &&
                        std::memcmp(macro.actions, button.macro_actions, sizeof macro.actions) == 0,
                    "a macro entry lost its button's steps");
    }
  }
}

void RequireStoredMacros(const fs::path& folder, const MacroList& macros) {
  MacroList stored;
  fuzz::Require(LoadMacroStore(folder, stored).ok(), "the macro store saved by an import is damaged");
  fuzz::Require(fuzz::SameRecords(stored, macros), "the macro store differs from the list");
}

void RequireExportReadsBack(const fs::path& folder, const ProfileRecord& profile) {
  const fs::path exported = folder / "exported.pro";
  std::string error;
  fuzz::Require(ExportProfile(exported, profile, error), "an imported profile cannot be exported");
  static const auto read = std::make_unique<ProfileRecord>();  // kept: large records are slow to map
  fuzz::Require(ReadProfileFile(exported, *read, error), "an exported profile cannot be read");
  fuzz::Require(fuzz::SameBytes(*read, profile), "an exported profile reads back different");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fs::path& folder = fuzz::ScratchFolder();
  const fs::path file = folder / "received.pro";
  fuzz::WriteInput(file, {data, size});

  ProfileList profiles;
  profiles.push_back(CreateProfile(u"Profile 1"));
  MacroList macros;
  macros.push_back(std::make_unique<MacroRecord>());
  SetFieldText(macros[0]->name, u"Macro 1");

  DataFolderStores stores(folder);
  ProfileImport result;
  std::string error;
  if (!ImportProfile(file, stores, profiles, macros, result, error)) {
    fuzz::Require(size != kProfileRecordSize || error.find("does not fit the mouse") != error.npos,
                  "a profile file of the right size was refused for another reason");
    fuzz::Require(!error.empty(), "a refused import does not say why");
    fuzz::Require(profiles.size() == 1 && macros.size() == 1, "a refused import changed the lists");
    return 0;
  }
  fuzz::Require(size == kProfileRecordSize, "a file of the wrong size was imported");
  fuzz::Require(result.index == 1 && profiles.size() == 2, "the import did not append one profile");
  const ProfileRecord& imported = *profiles[result.index];
  fuzz::RequireSafe(imported);
  fuzz::RequireUniqueNames(profiles, "profiles");
  fuzz::RequireUniqueNames(macros, "macros");
  fuzz::Require(static_cast<int>(result.macros_added) == MacroButtonCount(imported) &&
                    macros.size() == 1 + result.macros_added,
                "not one macro entry per macro button");
  RequireMacrosCarried(imported, macros);
  if (result.macros_added > 0) RequireStoredMacros(folder, macros);
  fuzz::RequireProfileSendable(imported);
  RequireExportReadsBack(folder, imported);
  return 0;
}
