// The file dialogs of profile export and import: one filter for profile
// files, the suffix "pro" added to a name typed without one, and a question
// before an existing file is overwritten.
#pragma once

#include <QString>

class QWidget;

namespace ms1 {

enum class ProfileFileUse { kExport, kImport };

// "Profile file (*.pro *.PRO)", in the language of the language file.
QString ProfileFileFilter();

// Asks for the file to write (kExport) or to read (kImport), owned by
// `owner`; empty when the user cancelled.
QString AskProfileFile(QWidget* owner, ProfileFileUse use);

}  // namespace ms1
