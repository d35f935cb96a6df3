// The device page's data folder: this process takes it when the profiles are
// loaded (the user hears who holds it when it cannot), its two stores fill
// the page model, and every later save, of either store and from any thread,
// goes through its one DataFolderStores, whose results reach the main window
// as one message.
#pragma once

#include <filesystem>
#include <vector>

#include "device/page_model.h"
#include "model/data_folder_owner.h"
#include "model/data_folder_stores.h"
#include "model/store_file.h"

namespace ms1 {

class PageHost;

class PageDataFolder {
 public:
  // Saves are reported to `host`'s window from here on; it must outlive this.
  PageDataFolder(std::filesystem::path folder, PageHost& host);

  // Where the page saves: the profile store, the macro store and the mark of
  // unsent edits.
  DataFolderStores& stores() { return stores_; }

  // Takes the folder (a command of ms1ctl writing a store just now is let
  // end) and fills the model's profile and macro lists from the stores; they
  // are only read when another process holds the folder. The next apply
  // sends the whole profile. Returns whether the last run left edits the
  // mouse may lack.
  bool Load(PageModel& model);
  // What went wrong while loading, told to the user once the window is up.
  void TellLoadProblems();

 private:
  void Own();

  const std::filesystem::path folder_;
  PageHost& host_;
  DataFolderOwner owner_;
  DataFolderStores stores_;
  std::vector<StoreLoad> loads_;
};

}  // namespace ms1
