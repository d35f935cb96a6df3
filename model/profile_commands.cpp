#include "model/profile_commands.h"

#include "model/profile.h"
#include "model/text_field.h"
#include "model/unique_name.h"

namespace ms1 {

ProfileNameCheck CheckProfileName(const ProfileList& profiles, std::u16string_view name) {
  if (name.empty()) return ProfileNameCheck::kEmpty;
  if (name.size() > kMaxProfileNameLength) return ProfileNameCheck::kTooLong;
  if (ProfileNameExists(profiles, name)) return ProfileNameCheck::kTaken;
  return ProfileNameCheck::kOk;
}

void AddNamedProfile(ProfileList& profiles, int32_t& selected, std::u16string_view name) {
  profiles.push_back(CreateProfile(name));
  selected = static_cast<int32_t>(profiles.size() - 1);
}

bool DeleteProfileAt(ProfileList& profiles, int32_t& selected, std::size_t index) {
  if (profiles.size() <= 1 || index >= profiles.size()) return false;
  profiles.erase(profiles.begin() + static_cast<std::ptrdiff_t>(index));
  const auto deleted = static_cast<int32_t>(index);
  const auto count = static_cast<int32_t>(profiles.size());
  if (deleted < selected || (deleted == selected && deleted == count)) --selected;
  return true;
}

void RenameProfileAt(ProfileList& profiles, std::size_t index, std::u16string_view name) {
  SetFieldText(profiles.at(index)->name, name);
}

bool ImportProfileSelected(const std::filesystem::path& file,
                           const std::filesystem::path& data_folder, ProfileList& profiles,
                           int32_t& selected, MacroList& macros, ProfileImport& result,
                           std::string& error) {
  if (!ImportProfile(file, data_folder, profiles, macros, result, error)) return false;
  selected = static_cast<int32_t>(result.index);
  return true;
}

}  // namespace ms1
