#include "model/profile_commands.h"

#include <algorithm>

#include "model/profile.h"
#include "model/text_field.h"
#include "model/unique_name.h"

namespace ms1 {

namespace {

bool IsControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

bool IsBlank(std::u16string_view name) {
  return std::all_of(name.begin(), name.end(), [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u3000';
  });
}

}  // namespace

bool UsableProfileName(std::u16string_view name) {
  return !IsBlank(name) && std::none_of(name.begin(), name.end(), IsControl);
}

ProfileNameCheck CheckProfileName(const ProfileList& profiles, std::u16string_view name) {
  if (IsBlank(name)) return ProfileNameCheck::kEmpty;
  if (std::any_of(name.begin(), name.end(), IsControl)) return ProfileNameCheck::kControl;
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

bool ImportProfileSelected(const std::filesystem::path& file, MacroStoreWriter& store,
                           ProfileList& profiles, int32_t& selected, MacroList& macros,
                           ProfileImport& result, std::string& error) {
  if (!ImportProfile(file, store, profiles, macros, result, error)) return false;
  selected = static_cast<int32_t>(result.index);
  return true;
}

std::string ProfileNameProblem(ProfileNameCheck check, const std::string& name) {
  switch (check) {
    case ProfileNameCheck::kOk:
      return {};
    case ProfileNameCheck::kEmpty:
      return "a profile name must not be empty or blank";
    case ProfileNameCheck::kControl:
      return "a profile name must not hold control characters";
    case ProfileNameCheck::kTooLong:
      return "a profile name has at most 49 characters";
    case ProfileNameCheck::kTaken:
      return "a profile named \"" + name + "\" exists already";
  }
  return {};
}

std::string NoSuchProfileText(const std::string& name) {
  return "no profile named \"" + name + "\"";
}

std::string NoSuchMacroText(const std::string& name) {
  return "no macro named \"" + name + "\"";
}

}  // namespace ms1
