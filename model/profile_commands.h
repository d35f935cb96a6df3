// The rules of the profile commands (add, delete, rename, reset, select),
// shared by the window and ms1ctl. They change the list and the selected
// index in memory; saving and sending are the caller's. Import and export
// are in profile_exchange.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/profile_store.h"

namespace ms1 {

// Why a name is not accepted for a new or renamed profile, as the name dialog
// refuses it. A rename counts the profile's own name as taken too.
enum class ProfileNameCheck { kOk, kEmpty, kTooLong, kTaken };
ProfileNameCheck CheckProfileName(const ProfileList& profiles, std::u16string_view name);

// Appends a default profile with an accepted name and selects it.
void AddNamedProfile(ProfileList& profiles, int32_t& selected, std::u16string_view name);

// Removes profile `index`. The following profile takes its place as the
// selected one when it was selected; after the last, the one before it. Any
// other selection stays on the same profile. False, changing nothing, for the
// only profile or an index outside the list.
bool DeleteProfileAt(ProfileList& profiles, int32_t& selected, std::size_t index);

// Gives profile `index` an accepted name.
void RenameProfileAt(ProfileList& profiles, std::size_t index, std::u16string_view name);

}  // namespace ms1
