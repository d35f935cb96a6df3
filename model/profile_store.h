// The profile store "ms_1/pro.data" in the data folder: the selected index as
// an int32, then every profile record byte for byte, in list order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/profile_slot.h"
#include "model/records.h"
#include "model/store_file.h"

namespace ms1 {

// The user's profiles in list order. Records are large (165,004 bytes) and are
// referred to by address (the current profile), so each is owned separately,
// and those not in use are kept packed (profile_slot.h).
using ProfileList = std::vector<ProfileSlot>;

// Packs every profile but the one at keep (any value outside the list packs
// them all).
void PackProfilesExcept(ProfileList& profiles, int keep);

std::filesystem::path ProfileStorePath(const std::filesystem::path& data_folder);

// The English text of the language key "add_profile_text": the base of the
// default profile names ("Profile 1", "Profile 2", ...) wherever no language
// file gives another.
inline constexpr std::u16string_view kDefaultAddProfileText = u"Profile ";

// Fills an empty list from the store and sets the selected index. Afterwards
// the list holds at least one profile and selected names one of them:
// - no store, an empty one or one without profiles: one default profile named
//   add_profile_text + "1", selected 0, written to disk at once (read-write
//   access only);
// - a store of the wrong length keeps its whole records, and the file itself
//   is kept aside (StoreLoad::set_aside; read-write access only) before
//   anything can overwrite it;
// - a stored index outside the list selects profile 0.
// Every record is made safe before use (record_safety.h). All profiles but
// the selected one are returned packed.
StoreLoad LoadProfileStore(const std::filesystem::path& data_folder, ProfileList& profiles,
                           int32_t& selected,
                           std::u16string_view add_profile_text = kDefaultAddProfileText,
                           StoreAccess access = StoreAccess::kReadWrite);

// Rewrites the whole store atomically; safe to call from any thread, as long
// as the list does not change during the call. On failure the previous store
// is intact and error says why.
bool SaveProfileStore(const std::filesystem::path& data_folder, const ProfileList& profiles,
                      int32_t selected, std::string& error);

// True when a profile's name equals name without regard to case.
bool ProfileNameExists(const ProfileList& profiles, std::u16string_view name);

// Position of the profile called name (any case), or -1.
int FindProfile(const ProfileList& profiles, std::u16string_view name);

// Appends a default profile named add_profile_text + (count + 1), made unique.
ProfileRecord& AddDefaultProfile(ProfileList& profiles, std::u16string_view add_profile_text);

}  // namespace ms1
