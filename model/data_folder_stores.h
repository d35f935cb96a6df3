// The stores of one data folder, the profiles and the macros, with the mark of
// unsent edits beside them: the program loads and saves them here and
// nowhere else. Every save says how it went on one channel, whichever store
// it wrote and whoever asked for it, so that no failure passes in silence.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/store_file.h"
#include "model/store_writer.h"

namespace ms1 {

enum class StoreKind { kProfiles, kMacros };

struct StoreSaveResult {
  StoreKind store = StoreKind::kProfiles;
  bool saved = false;
  std::string error;  // why it failed; empty when saved
};

class DataFolderStores final : public ProfileStoreWriter, public MacroStoreWriter {
 public:
  // Called after every save of either store, on the saving thread.
  using Report = std::function<void(const StoreSaveResult&)>;

  explicit DataFolderStores(std::filesystem::path data_folder, Report report = {})
      : data_folder_(std::move(data_folder)), report_(std::move(report)) {}

  // Fill empty lists from the stores (LoadProfileStore, LoadMacroStore).
  StoreLoad LoadProfiles(ProfileList& profiles, int32_t& selected,
                         std::u16string_view add_profile_text, StoreAccess access);
  StoreLoad LoadMacros(MacroList& macros, StoreAccess access);
  // The last run left edits the mouse may lack.
  bool UnsentEditsMarked() const;

  // A failed profile save keeps the previous store; it is traced on standard
  // error as well as reported.
  bool Save(const ProfileList& profiles, int selected) override;
  // Leaves the mark of unsent edits beside the store, or removes it; a
  // failure is traced, the mark being a hint for the next start.
  void MarkUnsentEdits(bool unsent) override;
  bool SaveMacros(const MacroList& macros, std::string& error) override;

 private:
  void Tell(StoreKind store, bool saved, const std::string& error) const;

  const std::filesystem::path data_folder_;
  const Report report_;
  std::optional<bool> marked_;  // what the folder holds, once known
};

}  // namespace ms1
