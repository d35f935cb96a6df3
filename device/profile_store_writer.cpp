#include "device/profile_store_writer.h"

#include <cstdio>
#include <string>

#include "model/profile_store.h"

namespace ms1 {

bool DataFolderStoreWriter::Save(const ProfileList& profiles, int selected) {
  std::string error;
  if (SaveProfileStore(data_folder_, profiles, selected, error)) return true;
  std::fprintf(stderr, "profile store not saved: %s\n", error.c_str());
  return false;
}

}  // namespace ms1
