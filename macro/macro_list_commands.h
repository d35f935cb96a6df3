// The commands on the macro editor's list of macros: add, delete, rename (by
// the name field), import and export. Each asks first where it must
// (confirmation, file dialog), changes the list, saves the macro store and
// keeps the list's rows in step; the macros renamed since the editor opened
// are kept for the buttons that play them. The rules of what changes are the
// model's, shared with ms1ctl.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/macro_store.h"
#include "model/store_writer.h"
#include "platform/notification.h"

class QLineEdit;
class QListWidget;
class QWidget;

namespace ms1 {

class MacroListCommands {
 public:
  // What the commands use of the editor window.
  struct Editor {
    MacroList& macros;
    MacroStoreWriter& store;  // tells of a failed save itself
    QListWidget* list;        // "ms_1_macro_list"; null when the layout has none
    QLineEdit* name_field;    // "ms_1_macro_name_edit"; the same
    QWidget* owner;           // the editor: owner of every dialog and message
    QString file_folder;      // where the file dialogs open
    // The list position of the macro the editor shows; -1 for none.
    std::function<int()> current;
    // Shows the macro at list position `row` in the editor; -1 shows none.
    std::function<void(int row)> show;
  };

  // Fills the list's rows and notes each macro's name as it opens.
  explicit MacroListCommands(Editor editor);

  // Runs the command whose button sent `notification`; false when it is none.
  bool OnClick(const Notification& notification);

  // A new macro with a numbered unique name, shown.
  void Add();
  // The macro of the list's current row, once confirmed.
  void Delete();
  // The name field's text becomes the shown macro's name, unless another
  // macro has it; the field then shows the old name again.
  void Rename();
  void Import();
  void Export();

  // The macros renamed since the editor opened: the name each had then and
  // its name now.
  std::vector<MacroRename> Renames() const;

 private:
  void AppendRow(const MacroRecord& macro);
  // Marks `row` without raising "itemselect", then shows its macro, also
  // when the row was current already.
  void SelectRow(int row);
  void SaveStore();
  void TellFileProblem(const char* text_key, const std::string& error);

  Editor editor_;
  // By list position: each macro's name when the editor opened, none for the
  // macros added since.
  std::vector<std::optional<std::u16string>> opening_names_;
};

}  // namespace ms1
