#include "model/macro_store.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "model/atomic_file.h"
#include "model/button_assignment.h"
#include "model/case_fold.h"
#include "model/data_folder_owner.h"
#include "model/named_list.h"
#include "model/profile.h"
#include "model/record_safety.h"
#include "model/text_field.h"
#include "model/unique_name.h"

namespace ms1 {

namespace fs = std::filesystem;

fs::path MacroStorePath(const fs::path& data_folder) {
  return StoreFolder(data_folder) / "macro.data";
}

StoreLoad LoadMacroStore(const fs::path& data_folder, MacroList& macros, StoreAccess access) {
  StoreLoad load;
  StoreReader store(MacroStorePath(data_folder), load, access);
  if (!store.has_content()) return load;
  const std::size_t count = store.size() / kMacroRecordSize;
  if (store.size() != count * kMacroRecordSize) {
    store.KeepDamaged("damaged (" + std::to_string(store.size()) +
                      " bytes); its whole macros were kept");
  }
  for (std::size_t n = 0; n < count; ++n) {
    auto macro = std::make_unique<MacroRecord>();
    if (!store.Read(macro.get(), kMacroRecordSize)) break;
    MakeMacroSafe(*macro);
    macros.push_back(std::move(macro));
  }
  return load;
}

bool SaveMacroStore(const fs::path& data_folder, const MacroList& macros, std::string& error) {
  if (!MakeStoreFolder(data_folder, error)) return false;
  const auto piece = [&macros](std::size_t index) { return BytesOf(*macros[index]); };
  return WriteStoreFile(MacroStorePath(data_folder), macros.size(), piece, error);
}

namespace {

// The first twelve buttons are the ones that can carry a macro in the editor's
// sense; the others are left as they are.

void ClearToDefault(ButtonRecord& button, int i) {
  std::memset(&button, 0, sizeof(button));
  // The column of modes 0, 2, 3 and 4 serves every mode here, mode 1 included.
  button.function_code = DefaultFunctionCode(0, i);
  button.macro_index = -1;
}

// Renames count all at once: a button follows the rename of the name it had,
// never a chain of them.
void FollowRename(ButtonRecord& button, std::span<const MacroRename> renames) {
  const std::u16string name = FieldText(button.macro_name);
  for (const MacroRename& rename : renames) {
    if (EqualIgnoringCase(name, rename.from)) {
      SetFieldText(button.macro_name, rename.to);
      return;
    }
  }
}

}  // namespace

void RefreshMacroCopy(ButtonRecord& button, const MacroRecord& macro) {
  button.macro_action_count = static_cast<uint16_t>(macro.action_count & 0xFFFF);
  SetFieldText(button.macro_name, FieldText(macro.name));
  std::copy(std::begin(macro.actions), std::end(macro.actions), std::begin(button.macro_actions));
}

MacroList CopyMacroList(const MacroList& macros) {
  MacroList copy;
  copy.reserve(macros.size());
  for (const auto& macro : macros) copy.push_back(std::make_unique<MacroRecord>(*macro));
  return copy;
}

bool MacroNameExists(const MacroList& macros, std::u16string_view name) {
  return FindByName(macros, name) >= 0;
}

bool AddMacro(MacroStoreWriter& store, MacroList& macros, std::u16string_view add_macro_text,
              std::string& error) {
  const std::u16string candidate = std::u16string(add_macro_text) + DecimalText(macros.size() + 1);
  const std::u16string name = MakeUniqueName(
      candidate, [&](std::u16string_view tried) { return MacroNameExists(macros, tried); },
      kMaxMacroNameLength);
  auto macro = std::make_unique<MacroRecord>();
  SetFieldText(macro->name, name);
  macros.push_back(std::move(macro));
  return store.SaveMacros(macros, error);
}

int FindMacroForButton(const MacroList& macros, const ButtonRecord& button) {
  return FindByName(macros, FieldText(button.macro_name));
}

bool ResyncAssignedMacros(ProfileList& profiles, const MacroList& macros,
                          const ProfileRecord* current, std::span<const MacroRename> renames) {
  bool current_touched = false;
  for (auto& profile : profiles) {
    for (ModeRecord& mode : profile->modes) {
      for (int i = 0; i < kButtonCount; ++i) {
        ButtonRecord& button = mode.buttons[i];
        // A button with another function keeps it, whatever macro name an
        // older store left in it.
        if (!ButtonOffersMacros(i) || button.function_code != kFunctionMacro) continue;
        FollowRename(button, renames);
        const int found = FindMacroForButton(macros, button);
        if (found < 0) {
          ClearToDefault(button, i);
        } else {
          RefreshMacroCopy(button, *macros[static_cast<std::size_t>(found)]);
        }
        if (profile.get() == current) current_touched = true;
      }
    }
  }
  return current_touched;
}

}  // namespace ms1
