#include "model/data_folder_stores.h"

#include <cstdio>

#include "model/macro_store.h"
#include "model/unsent_edits_mark.h"

namespace ms1 {

StoreLoad DataFolderStores::LoadProfiles(ProfileList& profiles, int32_t& selected,
                                         std::u16string_view add_profile_text, StoreAccess access) {
  return LoadProfileStore(data_folder_, profiles, selected, add_profile_text, access);
}

StoreLoad DataFolderStores::LoadMacros(MacroList& macros, StoreAccess access) {
  return LoadMacroStore(data_folder_, macros, access);
}

bool DataFolderStores::UnsentEditsMarked() const {
  return ms1::UnsentEditsMarked(data_folder_);
}

bool DataFolderStores::Save(const ProfileList& profiles, int selected) {
  std::string error;
  const bool saved = SaveProfileStore(data_folder_, profiles, selected, error);
  if (!saved) std::fprintf(stderr, "profile store not saved: %s\n", error.c_str());
  Tell(StoreKind::kProfiles, saved, error);
  return saved;
}

void DataFolderStores::MarkUnsentEdits(bool unsent) {
  if (marked_ == unsent) return;
  std::string error;
  if (SetUnsentEditsMark(data_folder_, unsent, error)) {
    marked_ = unsent;
  } else {
    std::fprintf(stderr, "mark of unsent edits not kept: %s\n", error.c_str());
  }
}

bool DataFolderStores::SaveMacros(const MacroList& macros, std::string& error) {
  const bool saved = SaveMacroStore(data_folder_, macros, error);
  Tell(StoreKind::kMacros, saved, saved ? std::string() : error);
  return saved;
}

void DataFolderStores::Tell(StoreKind store, bool saved, const std::string& error) const {
  if (report_) report_({store, saved, error});
}

}  // namespace ms1
