// The macro store "ms_1/macro.data" in the data folder: every macro record
// byte for byte, in list order, with nothing before or after. Also the lookup
// of a button's macro and the refresh of the copies that buttons hold.
#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/profile_store.h"
#include "model/records.h"
#include "model/store_file.h"
#include "model/store_writer.h"

namespace ms1 {

std::filesystem::path MacroStorePath(const std::filesystem::path& data_folder);

// Fills an empty list from the store. A missing or empty store gives an empty
// list and creates nothing; a store whose length is not a multiple of 240
// keeps its whole records and is kept aside first (read-write access only).
// Records are made safe.
StoreLoad LoadMacroStore(const std::filesystem::path& data_folder, MacroList& macros,
                         StoreAccess access = StoreAccess::kReadWrite);

// Rewrites the whole store atomically, from any thread; on failure the
// previous store is intact and error says why.
bool SaveMacroStore(const std::filesystem::path& data_folder, const MacroList& macros,
                    std::string& error);

bool MacroNameExists(const MacroList& macros, std::u16string_view name);

// A list of copies of every record.
MacroList CopyMacroList(const MacroList& macros);

// Appends an empty macro named add_macro_text + (count + 1), made unique, and
// saves the store. The macro stays in the list even when the save fails (the
// editor saves again after the next change); false reports that failure.
bool AddMacro(MacroStoreWriter& store, MacroList& macros, std::u16string_view add_macro_text,
              std::string& error);

// A button's copy of a macro: its name, step count and steps.
void RefreshMacroCopy(ButtonRecord& button, const MacroRecord& macro);

// Position of the first macro whose name equals the button's macro_name
// without regard to case, or -1.
int FindMacroForButton(const MacroList& macros, const ButtonRecord& button);

// A macro renamed since the buttons last followed the list: the name they
// know it by, and its name now.
struct MacroRename {
  std::u16string from;
  std::u16string to;
};

// After the macro list changed: every macro button (of the buttons that offer
// macros, ButtonOffersMacros) of every mode record of every profile gets the
// macro's current name and steps, or, when its macro is gone, the default
// function of its position. A button naming a renamed macro's old name
// (without regard to case) follows it under its new name. Returns whether
// `current` (a profile of the list, or nullptr) was touched; the caller then
// refreshes and applies it.
bool ResyncAssignedMacros(ProfileList& profiles, const MacroList& macros,
                          const ProfileRecord* current, std::span<const MacroRename> renames = {});

}  // namespace ms1
