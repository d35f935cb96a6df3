// "macro.data" as a damaged disk, an older program or another tool may leave
// it: loaded, checked against its bytes, saved and loaded again. A file that
// is not sound is kept aside byte for byte before anything can overwrite it.
#include <string>

#include "fuzz_support.h"
#include "model/macro_store.h"
#include "model/record_safety.h"
#include "record_invariants.h"

namespace {

using namespace ms1;
namespace fs = std::filesystem;

void RequireSavedReadsBack(const fs::path& folder, const MacroList& macros) {
  std::string error;
  fuzz::Require(SaveMacroStore(folder, macros, error), "the loaded list cannot be saved");
  MacroList again;
  const StoreLoad load = LoadMacroStore(folder, again);
  fuzz::Require(load.ok() && load.set_aside.empty(), "a saved store is not sound");
  fuzz::Require(fuzz::SameRecords(again, macros), "a saved store reads back different");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fs::path& folder = fuzz::ScratchFolder();
  fuzz::WriteInput(MacroStorePath(folder), {data, size});

  MacroList macros;
  const StoreLoad load = LoadMacroStore(folder, macros);

  for (const auto& macro : macros) fuzz::RequireSafe(*macro);
  const std::size_t whole = size / kMacroRecordSize;
  fuzz::Require(macros.size() == whole, "whole stored macros were lost");
  fuzz::RequireLoadedAsStored(data, 0, macros, MakeMacroSafe);
  fuzz::RequireLoadOutcome(load, size == whole * kMacroRecordSize, {data, size});
  RequireSavedReadsBack(folder, macros);
  return 0;
}
