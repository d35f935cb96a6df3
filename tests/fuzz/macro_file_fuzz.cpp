// A macro file as a user may receive it: imported beside a macro whose name
// it may take, played from a button, exported and read back.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "model/data_folder_stores.h"
#include "model/macro_report.h"
#include "model/macro_store.h"
#include "model/profile_exchange.h"
#include "model/text_field.h"
#include "record_invariants.h"

namespace {

using namespace ms1;
namespace fs = std::filesystem;

// A field of a file of the right size, as it was stored.
int32_t StoredInt(const uint8_t* data, std::size_t offset) {
  int32_t value = 0;
  std::memcpy(&value, data + offset, sizeof value);
  return value;
}
int32_t StoredActionCount(const uint8_t* data) {
  return StoredInt(data, offsetof(MacroRecord, action_count));
}

void RequireExportReadsBack(const fs::path& folder, const MacroRecord& macro) {
  const fs::path exported = folder / "exported.macro";
  std::string error;
  fuzz::Require(ExportMacro(exported, macro, error), "an imported macro cannot be exported");
  MacroRecord read{};
  fuzz::Require(ReadMacroFile(exported, read, error), "an exported macro cannot be read");
  fuzz::Require(fuzz::SameBytes(read, macro), "an exported macro reads back different");
}

void RequirePlayable(const MacroRecord& macro) {
  auto button = std::make_unique<ButtonRecord>();
  std::memset(button.get(), 0, sizeof(ButtonRecord));
  button->function_code = kFunctionMacro;
  button->macro_loop_count = macro.loop_count;
  RefreshMacroCopy(*button, macro);
  fuzz::Require(button->macro_action_count == macro.action_count, "a button lost macro steps");
  fuzz::RequireSendable(EncodeMacroReport(1, *button));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fs::path& folder = fuzz::ScratchFolder();
  const fs::path file = folder / "received.macro";
  fuzz::WriteInput(file, {data, size});

  MacroList macros;
  macros.push_back(std::make_unique<MacroRecord>());
  SetFieldText(macros[0]->name, u"Macro 1");
  MacroRecord received{};
  if (size == kMacroRecordSize) std::memcpy(&received, data, size);
  const bool sound = size == kMacroRecordSize && StoredActionCount(data) >= 0 &&
                     StoredActionCount(data) <= kMaxMacroActions &&
                     FitOf(MeasureMacro(received)) == MacroFit::kFits;

  DataFolderStores stores(folder);
  std::size_t index = 0;
  std::string error;
  if (!ImportMacro(file, stores, macros, index, error)) {
    fuzz::Require(!sound, "a sound macro file was refused");
    fuzz::Require(!error.empty(), "a refused import does not say why");
    fuzz::Require(macros.size() == 1, "a refused import changed the list");
    return 0;
  }
  fuzz::Require(sound, "an unsound macro file was imported");
  fuzz::Require(index == 1 && macros.size() == 2, "the import did not append one macro");
  const MacroRecord& imported = *macros[index];
  fuzz::RequireSafe(imported);
  fuzz::RequireUniqueNames(macros, "macros");
  fuzz::Require(std::memcmp(imported.actions, data + offsetof(MacroRecord, actions),
                            sizeof imported.actions) == 0 &&
                    imported.loop_count == StoredInt(data, offsetof(MacroRecord, loop_count)) &&
                    imported.action_count == StoredActionCount(data),
                "the import changed the steps");
  MacroList stored;
  fuzz::Require(LoadMacroStore(folder, stored).ok() && stored.size() == 2 &&
                    fuzz::SameBytes(*stored[1], imported),
                "the saved macro store does not hold the import");
  RequirePlayable(imported);
  RequireExportReadsBack(folder, imported);
  return 0;
}
