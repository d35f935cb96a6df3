#include "macro/macro_file_dialog.h"

#include <QStringList>

#include "platform/language.h"

namespace ms1 {

QString MacroFileFilter() {
  return Lan().Text(QStringLiteral("macro_file_filter_text")) +
         QStringLiteral(" (*.macro *.MACRO)");
}

std::unique_ptr<QFileDialog> MacroFileDialog(QWidget* owner, MacroFileUse use,
                                             const QString& folder,
                                             const QString& suggested_name) {
  const bool importing = use == MacroFileUse::kImport;
  auto dialog = std::make_unique<QFileDialog>(
      owner,
      Lan().Text(importing ? QStringLiteral("import_macro_title_text")
                           : QStringLiteral("export_macro_title_text")),
      folder);
  dialog->setNameFilters({MacroFileFilter()});
  dialog->selectNameFilter(MacroFileFilter());
  if (importing) {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("macro"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!suggested_name.isEmpty()) dialog->selectFile(suggested_name + QStringLiteral(".macro"));
  }
  return dialog;
}

QString AskForMacroFile(QWidget* owner, MacroFileUse use, const QString& folder,
                        const QString& suggested_name) {
  const std::unique_ptr<QFileDialog> dialog = MacroFileDialog(owner, use, folder, suggested_name);
  dialog->setWindowModality(Qt::ApplicationModal);
  if (dialog->exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog->selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace ms1
