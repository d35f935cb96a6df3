// The file dialogs of macro files: one macro, 240 bytes, extension "macro".
// Both start in the given folder (the data folder) and offer only macro files.
#pragma once

#include <QFileDialog>
#include <QString>
#include <memory>

namespace ms1 {

// "Macro file (*.macro *.MACRO)", in the language of the language file.
QString MacroFileFilter();

enum class MacroFileUse { kImport, kExport };

// The dialog, set up but not yet shown: importing takes an existing file;
// exporting adds the extension "macro" when none is typed and asks before
// replacing a file.
std::unique_ptr<QFileDialog> MacroFileDialog(QWidget* owner, MacroFileUse use,
                                             const QString& folder,
                                             const QString& suggested_name = {});

// Runs the dialog modally; the chosen file, or empty when cancelled.
QString AskForMacroFile(QWidget* owner, MacroFileUse use, const QString& folder,
                        const QString& suggested_name = {});

}  // namespace ms1
