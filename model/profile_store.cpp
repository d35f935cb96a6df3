#include "model/profile_store.h"

#include "model/atomic_file.h"
#include "model/data_folder_owner.h"
#include "model/named_list.h"
#include "model/profile.h"
#include "model/record_safety.h"
#include "model/text_field.h"
#include "model/unique_name.h"

namespace ms1 {

namespace fs = std::filesystem;

fs::path ProfileStorePath(const fs::path& data_folder) {
  return StoreFolder(data_folder) / "pro.data";
}

namespace {

constexpr std::size_t kHeaderSize = sizeof(int32_t);

void ReadStore(StoreReader& store, ProfileList& profiles, int32_t& selected) {
  const std::size_t size = store.size();
  const std::size_t count = size < kHeaderSize ? 0 : (size - kHeaderSize) / kProfileRecordSize;
  if (size != kHeaderSize + count * kProfileRecordSize) {
    store.KeepDamaged("damaged (" + std::to_string(size) + " bytes); its whole profiles were kept");
  }
  int32_t stored_index = 0;
  if (size < kHeaderSize || !store.Read(&stored_index, kHeaderSize)) return;
  // One scratch record for all: the profiles not selected are kept packed.
  auto profile = std::make_unique_for_overwrite<ProfileRecord>();
  for (std::size_t n = 0; n < count; ++n) {
    if (!store.Read(profile.get(), kProfileRecordSize)) break;
    MakeProfileSafe(*profile);
    if (static_cast<int64_t>(n) == stored_index) {
      profiles.push_back(std::move(profile));
      profile = std::make_unique_for_overwrite<ProfileRecord>();
    } else {
      profiles.push_back(ProfileSlot::PackedCopyOf(*profile));
    }
  }
  const bool valid = stored_index >= 0 && static_cast<std::size_t>(stored_index) < profiles.size();
  selected = valid ? stored_index : 0;
}

}  // namespace

StoreLoad LoadProfileStore(const fs::path& data_folder, ProfileList& profiles, int32_t& selected,
                           std::u16string_view add_profile_text, StoreAccess access) {
  StoreLoad load;
  {
    StoreReader store(ProfileStorePath(data_folder), load, access);
    if (store.has_content()) ReadStore(store, profiles, selected);
  }
  if (profiles.empty()) {
    selected = 0;
    AddDefaultProfile(profiles, add_profile_text);
    load.created = true;
    if (access == StoreAccess::kReadOnly) return load;
    std::string error;
    if (!SaveProfileStore(data_folder, profiles, selected, error)) load.NoteProblem(error);
  }
  return load;
}

bool SaveProfileStore(const fs::path& data_folder, const ProfileList& profiles, int32_t selected,
                      std::string& error) {
  if (!MakeStoreFolder(data_folder, error)) return false;
  // Packed profiles are unpacked one at a time into the same scratch record.
  std::unique_ptr<ProfileRecord> scratch;
  const auto piece = [&](std::size_t n) -> ByteView {
    if (n == 0) return BytesOf(selected);
    const ProfileSlot& profile = profiles[n - 1];
    if (!profile.IsPacked()) return BytesOf(*profile);
    if (!scratch) scratch = std::make_unique_for_overwrite<ProfileRecord>();
    profile.CopyTo(*scratch);
    return BytesOf(*scratch);
  };
  return WriteStoreFile(ProfileStorePath(data_folder), profiles.size() + 1, piece, error);
}

void PackProfilesExcept(ProfileList& profiles, int keep) {
  for (std::size_t i = 0; i < profiles.size(); ++i) {
    if (static_cast<int>(i) != keep) profiles[i].Pack();
  }
}

bool ProfileNameExists(const ProfileList& profiles, std::u16string_view name) {
  return FindProfile(profiles, name) >= 0;
}

int FindProfile(const ProfileList& profiles, std::u16string_view name) {
  return FindByName(profiles, name);
}

ProfileRecord& AddDefaultProfile(ProfileList& profiles, std::u16string_view add_profile_text) {
  const std::u16string candidate =
      std::u16string(add_profile_text) + DecimalText(profiles.size() + 1);
  const std::u16string name = MakeUniqueName(
      candidate, [&](std::u16string_view n) { return ProfileNameExists(profiles, n); },
      kMaxProfileNameLength);
  profiles.push_back(CreateProfile(name));
  return *profiles.back();
}

}  // namespace ms1
