#include "model/profile_exchange.h"

#include <algorithm>
#include <iterator>

#include "model/macro_report.h"
#include "model/profile_file.h"
#include "model/record_file.h"
#include "model/record_safety.h"
#include "model/text_field.h"
#include "model/profile_commands.h"
#include "model/unique_name.h"

namespace ms1 {

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kImportedProfileName = u"Profile";

std::u16string UniqueMacroName(const MacroList& macros, std::u16string_view name) {
  return MakeUniqueName(
      name, [&](std::u16string_view candidate) { return MacroNameExists(macros, candidate); },
      kMaxMacroNameLength);
}

// The macro a macro button carries, turned into a new entry of the list.
void AddButtonMacro(ButtonRecord& button, MacroList& macros) {
  const std::u16string stored = FieldText(button.macro_name);
  const std::u16string name = UniqueMacroName(macros, stored);
  auto macro = std::make_unique<MacroRecord>();
  SetFieldText(macro->name, name);
  macro->loop_count = button.macro_loop_count;
  macro->action_count = button.macro_action_count;
  std::copy(std::begin(button.macro_actions), std::end(button.macro_actions),
            std::begin(macro->actions));
  if (name != stored) SetFieldText(button.macro_name, name);
  macros.push_back(std::move(macro));
  button.macro_index = static_cast<int32_t>(macros.size() - 1);
}

// A macro the mouse would play only in part is refused, not cut: the user
// decides what to leave out, in the editor of the program that wrote it.
bool RefuseUnfitMacro(const fs::path& file, std::u16string_view name, const MacroSize& size,
                      std::string& error) {
  if (FitOf(size) == MacroFit::kFits) return false;
  error = file.string() + ": the macro \"" + Utf16ToUtf8(name) +
          "\" does not fit the mouse: " + MacroFitProblem(size);
  return true;
}

}  // namespace

bool ExportProfile(const fs::path& file, const ProfileRecord& profile, std::string& error) {
  return WriteProfileFile(file, profile, error);
}

bool ImportProfile(const fs::path& file, MacroStoreWriter& store, ProfileList& profiles,
                   MacroList& macros, ProfileImport& result, std::string& error) {
  auto profile = std::make_unique<ProfileRecord>();
  if (!ReadProfileFile(file, *profile, error)) return false;
  MakeProfileSafe(*profile);
  for (const ModeRecord& mode : profile->modes) {
    for (const ButtonRecord& button : mode.buttons) {
      if (button.function_code == kFunctionMacro &&
          RefuseUnfitMacro(file, FieldText(button.macro_name), MeasureMacro(button), error)) {
        return false;
      }
    }
  }

  // A name the list could not show or the user could not type again is
  // replaced by the file's own name.
  const std::u16string stored = FieldText(profile->name);
  std::u16string base = stored;
  if (!UsableProfileName(base)) base = Utf8ToUtf16(file.stem().string());
  if (!UsableProfileName(base)) base = kImportedProfileName;
  const std::u16string name = MakeUniqueName(
      base, [&](std::u16string_view candidate) { return ProfileNameExists(profiles, candidate); },
      kMaxProfileNameLength);
  if (name != stored) SetFieldText(profile->name, name);

  const std::size_t macros_before = macros.size();
  for (ModeRecord& mode : profile->modes) {
    for (ButtonRecord& button : mode.buttons) {
      if (button.function_code == kFunctionMacro) AddButtonMacro(button, macros);
    }
  }
  const std::size_t added = macros.size() - macros_before;
  if (added > 0 && !store.SaveMacros(macros, error)) {
    macros.resize(macros_before);
    return false;
  }
  profiles.push_back(std::move(profile));
  result.index = profiles.size() - 1;
  result.macros_added = added;
  return true;
}

// A step count outside 0..46 is not a macro this program wrote: such a file is
// refused rather than cut to fit, which would pass it off as sound.
bool ReadMacroFile(const fs::path& file, MacroRecord& out, std::string& error) {
  MacroRecord read{};
  if (!ReadRecordFile(file, &read, kMacroRecordSize, "a macro file", error)) return false;
  if (read.action_count < 0 || read.action_count > kMaxMacroActions) {
    error = file.string() + ": not a macro file (" + std::to_string(read.action_count) +
            " steps, at most " + std::to_string(kMaxMacroActions) + ")";
    return false;
  }
  out = read;
  return true;
}

bool ExportMacro(const fs::path& file, const MacroRecord& macro, std::string& error) {
  return WriteRecordFile(file, &macro, kMacroRecordSize, error);
}

bool ImportMacro(const fs::path& file, MacroStoreWriter& store, MacroList& macros,
                 std::size_t& index, std::string& error) {
  auto macro = std::make_unique<MacroRecord>();
  if (!ReadMacroFile(file, *macro, error)) return false;
  MakeMacroSafe(*macro);
  if (RefuseUnfitMacro(file, FieldText(macro->name), MeasureMacro(*macro), error)) return false;
  const std::u16string stored = FieldText(macro->name);
  const std::u16string name = UniqueMacroName(macros, stored);
  if (name != stored) SetFieldText(macro->name, name);
  macros.push_back(std::move(macro));
  if (!store.SaveMacros(macros, error)) {
    macros.pop_back();
    return false;
  }
  index = macros.size() - 1;
  return true;
}

}  // namespace ms1
