#include "device/profile_store_writer.h"

#include <cstdio>
#include <string>

#include "model/profile_store.h"
#include "model/unsent_edits_mark.h"

namespace ms1 {

bool DataFolderStoreWriter::Save(const ProfileList& profiles, int selected) {
  std::string error;
  if (SaveProfileStore(data_folder_, profiles, selected, error)) return true;
  std::fprintf(stderr, "profile store not saved: %s\n", error.c_str());
  return false;
}

void DataFolderStoreWriter::MarkUnsentEdits(bool unsent) {
  if (marked_ == unsent) return;
  std::string error;
  if (SetUnsentEditsMark(data_folder_, unsent, error)) {
    marked_ = unsent;
  } else {
    std::fprintf(stderr, "mark of unsent edits not kept: %s\n", error.c_str());
  }
}

}  // namespace ms1
