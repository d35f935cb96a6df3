// "pro.data" as a damaged disk, an older program or another tool may leave
// it: loaded, checked against its bytes, saved and loaded again. Whatever it
// holds, the user ends with a usable list, and a file that is not sound is
// kept aside byte for byte before anything can overwrite it.
#include <string>

#include "fuzz_support.h"
#include "model/profile_store.h"
#include "model/record_safety.h"
#include "record_invariants.h"

namespace {

using namespace ms1;
namespace fs = std::filesystem;

constexpr std::size_t kHeader = sizeof(int32_t);

void RequireSavedReadsBack(const fs::path& folder, const ProfileList& profiles, int32_t selected) {
  std::string error;
  fuzz::Require(SaveProfileStore(folder, profiles, selected, error), "the loaded list cannot be saved");
  ProfileList again;
  int32_t selected_again = -1;
  const StoreLoad load = LoadProfileStore(folder, again, selected_again);
  fuzz::Require(load.ok() && !load.created && load.set_aside.empty(), "a saved store is not sound");
  fuzz::Require(selected_again == selected && fuzz::SameRecords(again, profiles),
                "a saved store reads back different");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fs::path& folder = fuzz::ScratchFolder();
  fuzz::WriteInput(ProfileStorePath(folder), {data, size});

  ProfileList profiles;
  int32_t selected = -1;
  const StoreLoad load = LoadProfileStore(folder, profiles, selected);

  fuzz::Require(!profiles.empty(), "no profile after loading");
  fuzz::Require(selected >= 0 && static_cast<std::size_t>(selected) < profiles.size(),
                "the selected index names no profile");
  for (const auto& profile : profiles) fuzz::RequireSafe(*profile);

  const std::size_t whole = size < kHeader ? 0 : (size - kHeader) / kProfileRecordSize;
  const bool sound = size == 0 || (size >= kHeader && size == kHeader + whole * kProfileRecordSize);
  fuzz::RequireLoadOutcome(load, sound, {data, size});
  if (whole > 0) {
    fuzz::Require(profiles.size() == whole, "whole stored profiles were lost");
    fuzz::RequireLoadedAsStored(data, kHeader, profiles, MakeProfileSafe);
  } else {
    fuzz::Require(load.created && profiles.size() == 1, "no default profile for a store without one");
  }
  RequireSavedReadsBack(folder, profiles, selected);
  return 0;
}
