// The six commands beside the profile list: add, delete, rename, reset,
// export and import. Each asks the user first (name dialog, confirmation or
// file dialog); the rules of what changes are the model's, shared with ms1ctl.
// A command that changes the list saves the profile store at once, so that it
// is kept even while no mouse is connected to take the apply that follows;
// it saves before it selects, so that the save of the apply request finds
// nothing left to write.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "device/page_model.h"
#include "model/data_folder_stores.h"
#include "model/profile_commands.h"

class QListWidget;
class QWidget;

namespace ms1 {

struct PageControls;

class ProfileListCommands {
 public:
  // What the commands use of the device page.
  struct Page {
    PageModel& model;
    DataFolderStores& stores;  // tells the window when a save failed
    QListWidget* list;         // null when the layout has none
    QWidget* owner;            // the main window: owner of every dialog
    // Makes profile `index` current, shows it and requests an apply that
    // sends it whole: what selecting its list entry does.
    std::function<void(int index)> select;
  };

  explicit ProfileListCommands(Page page) : page_(std::move(page)) {}

  // Runs the command whose button `control` is; false when it is none.
  bool OnClick(const PageControls& controls, const QWidget* control);

  void Add();
  void Delete();
  void Rename();
  void Reset();
  void Export();
  void Import();

  // The commands on profile `index` without asking: what the ones above do
  // once the user has answered, and what the program's bus service runs.
  // Each shows, selects, saves and sends as the window's command does.
  ProfileNameCheck AddNamed(const QString& name);
  bool DeleteAt(int index);  // false for the only profile or no profile at index
  // Nothing when there is no profile at index.
  std::optional<ProfileNameCheck> RenameAt(int index, const QString& name);
  void ResetAt(int index);
  bool ExportAt(int index, const QString& file, std::string& error);
  // The index of the profile added, or -1 with `error`.
  int ImportFrom(const QString& file, ProfileImport& result, std::string& error);
  // Selects profile `index` as its list entry does, and saves the store.
  void SelectAndSave(int index);

 private:
  // The name dialog's accepted name, or nothing when it was cancelled.
  std::optional<QString> AskName(const QString& title_key);
  bool Confirm(const QString& text_key);
  void Tell(const QString& text_key, const QString& detail = {});
  void AppendEntry(const QString& name);
  int Selected() const;
  // Marks entry `index` without raising "itemselect", then selects the profile.
  void SelectEntry(int index);
  void SaveStore();

  Page page_;
};

}  // namespace ms1
