// The profile store in the data folder, written after each apply.
#pragma once

#include <filesystem>

#include "device/page_model.h"

namespace ms1 {

class DataFolderStoreWriter final : public ProfileStoreWriter {
 public:
  explicit DataFolderStoreWriter(std::filesystem::path data_folder)
      : data_folder_(std::move(data_folder)) {}

  // A failed write keeps the previous store and is not shown to the user; it
  // is traced so that it does not pass unnoticed.
  bool Save(const ProfileList& profiles, int selected) override;

 private:
  std::filesystem::path data_folder_;
};

}  // namespace ms1
