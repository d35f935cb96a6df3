#include "macro/macro_list_commands.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <filesystem>

#include "dialogs/msg_wnd.h"
#include "macro/macro_file_dialog.h"
#include "model/case_fold.h"
#include "model/profile_exchange.h"
#include "model/text_field.h"
#include "model/unique_name.h"
#include "platform/language.h"
#include "platform/list_entry.h"

namespace ms1 {
namespace {

QString NameOf(const MacroRecord& macro) {
  return QString::fromStdU16String(FieldText(macro.name));
}

}  // namespace

MacroListCommands::MacroListCommands(Editor editor) : editor_(std::move(editor)) {
  if (editor_.list != nullptr) {
    const QSignalBlocker quiet(editor_.list);
    editor_.list->clear();
  }
  for (const auto& macro : editor_.macros) {
    AppendRow(*macro);
    opening_names_.emplace_back(FieldText(macro->name));
  }
}

bool MacroListCommands::OnClick(const Notification& notification) {
  const std::pair<const char*, void (MacroListCommands::*)()> commands[] = {
      {"ms_1_macro_add_btn", &MacroListCommands::Add},
      {"ms_1_macro_delete_btn", &MacroListCommands::Delete},
      {"ms_1_macro_import_btn", &MacroListCommands::Import},
      {"ms_1_macro_export_btn", &MacroListCommands::Export},
  };
  for (const auto& [button, command] : commands) {
    if (notification.From(QString::fromLatin1(button))) {
      (this->*command)();
      return true;
    }
  }
  return false;
}

void MacroListCommands::Add() {
  MacroList& macros = editor_.macros;
  std::string error;
  const std::u16string add_text = Lan().Text(QStringLiteral("add_macro_text")).toStdU16String();
  AddMacro(editor_.store, macros, add_text, error);  // kept in the list even when not saved
  opening_names_.emplace_back();
  AppendRow(*macros.back());
  SelectRow(static_cast<int>(macros.size()) - 1);
  if (editor_.list != nullptr) editor_.list->scrollToBottom();
}

void MacroListCommands::Delete() {
  MacroList& macros = editor_.macros;
  const int row = editor_.list != nullptr ? editor_.list->currentRow() : -1;
  if (row < 0 || row >= static_cast<int>(macros.size())) return;
  if (!ConfirmWarning(editor_.owner, QStringLiteral("delete_macro_text"))) return;
  macros.erase(macros.begin() + row);
  if (static_cast<std::size_t>(row) < opening_names_.size()) {
    opening_names_.erase(opening_names_.begin() + row);
  }
  SaveStore();
  {
    const QSignalBlocker quiet(editor_.list);
    delete editor_.list->takeItem(row);
  }
  const int left = static_cast<int>(macros.size());
  SelectRow(left == 0 ? -1 : std::min(row, left - 1));
}

void MacroListCommands::Rename() {
  QLineEdit* field = editor_.name_field;
  const int index = editor_.current();
  if (field == nullptr || index < 0) return;
  MacroList& macros = editor_.macros;
  MacroRecord& macro = *macros[static_cast<std::size_t>(index)];
  const std::u16string typed(CutName(field->text().toStdU16String(), kMaxMacroNameLength));
  const std::u16string old_name = FieldText(macro.name);
  if (EqualIgnoringCase(typed, old_name)) return;
  if (MacroNameExists(macros, typed)) {
    const QSignalBlocker quiet(field);
    field->setText(QString::fromStdU16String(old_name));
    return;
  }
  // The name is saved by itself, so it never waits on the steps being kept.
  SetFieldText(macro.name, typed);
  SaveStore();
  if (QListWidgetItem* item = editor_.list != nullptr ? editor_.list->item(index) : nullptr) {
    item->setText(QString::fromStdU16String(typed));
  }
}

void MacroListCommands::Import() {
  const QString file = AskForMacroFile(editor_.owner, MacroFileUse::kImport, editor_.file_folder);
  if (file.isEmpty()) return;
  MacroList& macros = editor_.macros;
  std::size_t index = 0;
  std::string error;
  if (!ImportMacro(std::filesystem::path(file.toStdString()), editor_.store, macros, index,
                   error)) {
    TellFileProblem("macro_import_failed_text", error);
    return;
  }
  opening_names_.emplace_back();
  AppendRow(*macros[index]);
  SelectRow(static_cast<int>(index));
  if (editor_.list != nullptr) editor_.list->scrollToBottom();
}

void MacroListCommands::Export() {
  const int index = editor_.current();
  if (index < 0) return;
  const MacroRecord& macro = *editor_.macros[static_cast<std::size_t>(index)];
  const QString file =
      AskForMacroFile(editor_.owner, MacroFileUse::kExport, editor_.file_folder, NameOf(macro));
  if (file.isEmpty()) return;
  std::string error;
  if (!ExportMacro(std::filesystem::path(file.toStdString()), macro, error)) {
    TellFileProblem("macro_export_failed_text", error);
  }
}

std::vector<MacroRename> MacroListCommands::Renames() const {
  std::vector<MacroRename> renames;
  const MacroList& macros = editor_.macros;
  for (std::size_t i = 0; i < opening_names_.size() && i < macros.size(); ++i) {
    const std::u16string now = FieldText(macros[i]->name);
    if (opening_names_[i] && !EqualIgnoringCase(*opening_names_[i], now)) {
      renames.push_back({*opening_names_[i], now});
    }
  }
  return renames;
}

void MacroListCommands::AppendRow(const MacroRecord& macro) {
  if (editor_.list == nullptr) return;
  const QSignalBlocker quiet(editor_.list);
  AddListEntry(editor_.list, NameOf(macro));
}

void MacroListCommands::SelectRow(int row) {
  if (editor_.list != nullptr) {
    const QSignalBlocker quiet(editor_.list);
    editor_.list->setCurrentRow(row);
  }
  editor_.show(row);
}

void MacroListCommands::SaveStore() {
  std::string error;
  editor_.store.SaveMacros(editor_.macros, error);  // a failure is told by the store
}

void MacroListCommands::TellFileProblem(const char* text_key, const std::string& error) {
  ShowWarning(editor_.owner, QString::fromLatin1(text_key), {QString::fromStdString(error)});
}

}  // namespace ms1
