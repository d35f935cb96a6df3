// The rules of the profile commands (add, delete, rename, import), shared by
// the window and ms1ctl. They change the lists and the selected index in
// memory; saving the profile store and sending are the caller's. The file
// formats of import and export are in profile_exchange.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/profile_exchange.h"
#include "model/profile_store.h"

namespace ms1 {

// Why a name is not accepted for a new or renamed profile, as the name dialog
// refuses it. A rename counts the profile's own name as taken too.
// kEmpty: nothing but white space; kControl: holds a control character.
enum class ProfileNameCheck { kOk, kEmpty, kControl, kTooLong, kTaken };
ProfileNameCheck CheckProfileName(const ProfileList& profiles, std::u16string_view name);
// Whether `name` could name a profile at all: neither blank nor holding a
// control character (its length and uniqueness aside).
bool UsableProfileName(std::u16string_view name);
// Why `name` (UTF-8) is refused, in the words ms1ctl and the program's bus
// service use; empty when it is accepted.
std::string ProfileNameProblem(ProfileNameCheck check, const std::string& name);
// The refusals of commands that name a profile or a macro, in those words.
std::string NoSuchProfileText(const std::string& name);
std::string NoSuchMacroText(const std::string& name);
inline constexpr const char* kOnlyProfileText = "the only profile cannot be deleted";

// Appends a default profile with an accepted name and selects it.
void AddNamedProfile(ProfileList& profiles, int32_t& selected, std::u16string_view name);

// Removes profile `index`. The following profile takes its place as the
// selected one when it was selected; after the last, the one before it. Any
// other selection stays on the same profile. False, changing nothing, for the
// only profile or an index outside the list.
bool DeleteProfileAt(ProfileList& profiles, int32_t& selected, std::size_t index);

// Gives profile `index` an accepted name.
void RenameProfileAt(ProfileList& profiles, std::size_t index, std::u16string_view name);

// Adds the profile of a profile file with its macros (ImportProfile) and
// selects it, as an added profile is. Refused like ImportProfile, changing
// nothing, not even the selection.
bool ImportProfileSelected(const std::filesystem::path& file, MacroStoreWriter& store,
                           ProfileList& profiles, int32_t& selected, MacroList& macros,
                           ProfileImport& result, std::string& error);

}  // namespace ms1
