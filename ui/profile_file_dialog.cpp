#include "ui/profile_file_dialog.h"

#include <QFileDialog>

#include "platform/language.h"

namespace ms1 {

QString ProfileFileFilter() {
  return Lan().Text(QStringLiteral("profile_file_text")) + QStringLiteral(" (*.pro *.PRO)");
}

QString AskProfileFile(QWidget* owner, ProfileFileUse use) {
  QFileDialog dialog(owner);
  dialog.setNameFilter(ProfileFileFilter());
  if (use == ProfileFileUse::kExport) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pro"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace ms1
