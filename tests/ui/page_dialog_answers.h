// Answers for the modal windows the page's commands open, armed before the
// click that opens them: each waits for its window, notes what it showed and
// answers it as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "dialogs/config_name.h"
#include "dialogs/msg_wnd.h"
#include "macro/macro_editor_window.h"
#include "support/qt_wait.h"
#include "ui/dpi_color_wnd.h"

namespace ms1::test {

inline void Press(SkinDialog* dialog, const char* name) {
  QTest::mouseClick(dialog->FindControl(QString::fromLatin1(name)), Qt::LeftButton);
}

// In the open macro editor: the first macro deleted, its question confirmed.
inline void DeleteFirstMacro(CMS_1_Macro* editor) {
  editor->FindControl<QListWidget>(QStringLiteral("ms_1_macro_list"))->setCurrentRow(0);
  WhenModal<CMsgWnd>([](QWidget* box) { Press(dynamic_cast<CMsgWnd*>(box), "btn_ok"); }, editor);
  Press(editor, "ms_1_macro_delete_btn");
}

// What a message box or name dialog showed.
struct Seen {
  QString title;
  QString message;
  QWidget* owner = nullptr;
  bool single_button = false;
  QString warning;  // the name dialog's refusal, if any
  bool shown = false;
  QStringList args;  // the message's %1, %2, ...
};

// The next message box: noted, then answered with OK or Cancel.
inline void AnswerBox(bool ok, Seen& seen) {
  WhenModal<CMsgWnd>([ok, &seen](QWidget* modal) {
    auto* box = dynamic_cast<CMsgWnd*>(modal);
    ASSERT_NE(box, nullptr) << "no message box";
    seen = {box->title, box->message, box->parentWidget(), box->singleButton, {}, true,
            box->messageArgs};
    Press(box, ok ? "btn_ok" : "btn_cancel");
  });
}

// The next name dialog: `name` typed and OK pressed, or cancelled when there
// is no name. When the dialog is to refuse the name, its warning is
// acknowledged and noted, and the dialog then cancelled.
inline void AnswerName(std::optional<QString> name, Seen& seen, bool refused = false) {
  WhenModal<CMS_1_ConfigName>([name, &seen, refused](QWidget* modal) {
    auto* dialog = dynamic_cast<CMS_1_ConfigName*>(modal);
    ASSERT_NE(dialog, nullptr) << "no name dialog";
    auto* edit = dialog->FindControl<QLineEdit>(QStringLiteral("edit_name"));
    seen = {dialog->title, edit->text(), dialog->parentWidget(), false, {}, true, {}};
    if (!name) {
      Press(dialog, "btn_cancel");
      return;
    }
    edit->setText(*name);
    if (refused) {
      WhenModal<CMsgWnd>(
          [&seen](QWidget* inner) {
            auto* box = dynamic_cast<CMsgWnd*>(inner);
            ASSERT_NE(box, nullptr) << "no warning";
            seen.warning = box->message;
            Press(box, "btn_ok");
          },
          dialog);
    }
    Press(dialog, "btn_ok");
    if (dialog->isVisible()) Press(dialog, "btn_cancel");
  });
}

// What a file dialog offered.
struct FileDialogSeen {
  QStringList filters;
  QString default_suffix;
  QWidget* owner = nullptr;
  bool saving = false;
  bool confirms_overwrite = false;
  bool asked_overwrite = false;
  bool shown = false;
};

// The next file dialog: `path` chosen (or cancelled when empty). When it
// asks whether to overwrite, the answer is `overwrite`; a no leaves the
// dialog open, and it is then cancelled.
inline void ChooseFile(const QString& path, FileDialogSeen& seen, bool overwrite = true) {
  WhenModal<QFileDialog>([path, &seen, overwrite](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << "no file dialog";
    seen = FileDialogSeen{};
    seen.filters = dialog->nameFilters();
    seen.default_suffix = dialog->defaultSuffix();
    seen.owner = dialog->parentWidget();
    seen.saving = dialog->acceptMode() == QFileDialog::AcceptSave;
    seen.confirms_overwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    seen.shown = true;
    if (path.isEmpty()) {
      dialog->reject();
      return;
    }
    if (seen.saving && QFileInfo::exists(path)) {
      WhenModal<QMessageBox>(
          [&seen, overwrite](QWidget* inner) {
            auto* question = qobject_cast<QMessageBox*>(inner);
            if (question == nullptr) return;
            seen.asked_overwrite = true;
            question->button(overwrite ? QMessageBox::Yes : QMessageBox::No)->click();
          },
          dialog);
    }
    static_cast<void>(QTest::qWaitForWindowActive(dialog));
    TypeFileName(dialog, path);
    static_cast<QDialog*>(dialog)->accept();  // as its accept button does
    if (dialog->isVisible()) dialog->reject();
  });
}

// Answers the next colour dialogs in turn, one function each; a function
// returns true to confirm and false to cancel. `initial` collects the colour
// each dialog opened with. The watch for the next dialog starts when the one
// before has finished: the next may well be built at the same address.
using ColorAnswer = std::function<bool(CDpiColorWnd&)>;
inline void AnswerColorDialogs(std::vector<ColorAnswer> answers, std::vector<QRgb>& initial) {
  if (answers.empty()) return;
  WhenModal<CDpiColorWnd>([answers, &initial](QWidget* modal) mutable {
    auto* dialog = dynamic_cast<CDpiColorWnd*>(modal);
    ASSERT_NE(dialog, nullptr) << "no colour dialog";
    initial.push_back(dialog->color);
    const ColorAnswer answer = answers.front();
    answers.erase(answers.begin());
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [answers, &initial] { AnswerColorDialogs(answers, initial); });
    Press(dialog, answer(*dialog) ? "confirm_btn" : "cancel_btn");
  });
}

}  // namespace ms1::test
