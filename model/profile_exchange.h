// Profiles and macros exchanged as files of their own: a profile file is one
// ProfileRecord (165,004 bytes), a macro file one MacroRecord (240 bytes).
// Importing adds to the lists; the file dialogs belong to the callers.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "model/macro_store.h"
#include "model/profile_store.h"
#include "model/store_writer.h"

namespace ms1 {

bool ExportProfile(const std::filesystem::path& file, const ProfileRecord& profile,
                   std::string& error);

struct ProfileImport {
  std::size_t index = 0;         // position of the new profile in the list
  std::size_t macros_added = 0;  // entries appended to the macro list
};

// Appends the profile in file to the list, its name made unique (a name that
// add or rename would refuse, blank say, becomes the file's base name, or
// "Profile" when that is no better); every macro
// button of it (all five mode records, all 18 buttons) adds a macro list entry
// with a unique name that the button then names. When macros were added the
// macro store is saved through `store`. A file that is not exactly one
// profile, a macro button whose macro does not fit the mouse, or a failed
// save, is refused with an error and changes neither list. The profile store
// is not written here (the caller does that).
bool ImportProfile(const std::filesystem::path& file, MacroStoreWriter& store,
                   ProfileList& profiles, MacroList& macros, ProfileImport& result,
                   std::string& error);

// Refuses a file that is not exactly one record or whose step count is outside
// 0..46; out is then untouched.
bool ReadMacroFile(const std::filesystem::path& file, MacroRecord& out, std::string& error);
bool ExportMacro(const std::filesystem::path& file, const MacroRecord& macro, std::string& error);

// Appends the macro in file to the list, its name made unique, and saves the
// macro store through `store`. Refused like ImportProfile, changing nothing,
// also when the macro does not fit the mouse; index is the new entry's position.
bool ImportMacro(const std::filesystem::path& file, MacroStoreWriter& store, MacroList& macros,
                 std::size_t& index, std::string& error);

}  // namespace ms1
