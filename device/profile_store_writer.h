// The profile store in the data folder, written after each apply, and the
// mark of edits the mouse may not have.
#pragma once

#include <filesystem>
#include <optional>

#include "device/page_model.h"

namespace ms1 {

class DataFolderStoreWriter final : public ProfileStoreWriter {
 public:
  explicit DataFolderStoreWriter(std::filesystem::path data_folder)
      : data_folder_(std::move(data_folder)) {}

  // A failed write keeps the previous store and is not shown to the user; it
  // is traced so that it does not pass unnoticed.
  bool Save(const ProfileList& profiles, int selected) override;
  // Leaves the mark of unsent edits beside the store, or removes it.
  void MarkUnsentEdits(bool unsent) override;

 private:
  std::filesystem::path data_folder_;
  std::optional<bool> marked_;  // what the folder holds, once known
};

}  // namespace ms1
