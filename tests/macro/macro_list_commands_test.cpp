// The commands on the editor's list of macros, in the window on the real skin:
// rename, delete, a failed save, and macro files through the editor's own
// file dialogs.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>

#include "dialogs/msg_wnd.h"
#include "macro/macro_file_dialog.h"
#include "model/atomic_file.h"
#include "model/macro_store.h"
#include "support/qt_wait.h"
#include "tests/macro/editor_window_fixture.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

class MacroListCommandsTest : public test::EditorWindowTest {
 protected:
  // A confirmation (or a notice) the window raises: its message key, after
  // clicking OK in it.
  void ConfirmNextMessage(QString* message) {
    test::WhenModal(
        [message](QWidget* modal) {
          auto* box = dynamic_cast<CMsgWnd*>(modal);
          ASSERT_NE(box, nullptr);
          *message = box->message;
          QTest::mouseClick(box->FindControl(QStringLiteral("btn_ok")), Qt::LeftButton);
        },
        editor.get());
  }

  // Clicks `button` and answers what opens meanwhile: the file dialog with
  // `file`, the question whether to replace it with yes, a message with OK.
  // Returns the message keys told.
  QStringList UseFileDialog(const char* button, const fs::path& file) {
    QStringList told;
    int dialogs = 0;
    QPointer<QFileDialog> answered;
    QTimer answer;  // lives only as long as this click
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        if (dialog == answered) return;  // its answer is on its way
        answered = dialog;
        ++dialogs;
        static_cast<void>(QTest::qWaitForWindowActive(dialog));
        test::TypeFileName(dialog, QString::fromStdString(file.string()));
        // Outside this timer's slot: accepting may open a question with its
        // own loop, in which this timer must go on answering.
        QMetaObject::invokeMethod(
            dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); }, Qt::QueuedConnection);
      } else if (auto* question = qobject_cast<QMessageBox*>(modal)) {
        ++overwrite_questions;
        question->button(QMessageBox::Yes)->click();
      } else if (auto* box = dynamic_cast<CMsgWnd*>(modal)) {
        told << box->message;
        box->Close(1);
      }
    });
    answer.start(5);
    Click(button);
    EXPECT_EQ(dialogs, 1);
    return told;
  }

  int overwrite_questions = 0;

  std::string RecordBytes(const MacroRecord& m) const {
    return std::string(reinterpret_cast<const char*>(&m), kMacroRecordSize);
  }
};

TEST_F(MacroListCommandsTest, RenamesOnFocusLossUnlessTheNameIsTaken) {
  struct Case {
    const char16_t* typed;
    const char16_t* stored;
    const char16_t* shown;
  };
  const Case cases[] = {
      {u"jump", u"Jump", u"jump"},  // own name in other case: nothing happens
      {u"RUN", u"Jump", u"Jump"},   // another macro's name: refused
      {u"Hop", u"Hop", u"Hop"},     // a new name
      {u"", u"", u""},              // empty, while no macro has it
  };
  AddStored(u"Jump", 46, 2000);  // from an older store: more than the mouse holds
  AddStored(u"Run", 2);
  Open();
  Macros()->setCurrentRow(0);
  auto* name = Control<QLineEdit>("ms_1_macro_name_edit");
  for (const Case& c : cases) {
    name->setFocus();
    name->setText(QString::fromStdU16String(c.typed));
    Steps()->setFocus();
    ASSERT_TRUE(test::WaitFor([&] { return !name->hasFocus(); }));
    EXPECT_EQ(FieldText(macros[0]->name), c.stored);
    EXPECT_EQ(name->text(), QString::fromStdU16String(c.shown));
    EXPECT_EQ(Macros()->item(0)->text(), QString::fromStdU16String(c.stored));
  }
  MacroList stored;
  LoadMacroStore(dir, stored);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(FieldText(stored[0]->name), u"");
}

TEST_F(MacroListCommandsTest, DeletingSelectsTheNeighbourAndTheLastOneLeavesNothing) {
  AddStored(u"One", 2);
  AddStored(u"Two", 4);
  Open();
  Macros()->setCurrentRow(1);
  QString asked;
  ConfirmNextMessage(&asked);
  Click("ms_1_macro_delete_btn");
  EXPECT_EQ(asked, QStringLiteral("delete_macro_text"));
  ASSERT_EQ(macros.size(), 1u);
  EXPECT_EQ(Macros()->currentRow(), 0);
  EXPECT_EQ(Steps()->count(), 2);  // the macro before it, loaded
  ConfirmNextMessage(&asked);
  Click("ms_1_macro_delete_btn");
  EXPECT_TRUE(macros.empty());
  EXPECT_EQ(Macros()->count(), 0);
  EXPECT_EQ(Steps()->count(), 0);
  EXPECT_FALSE(editor->Model()->HasCurrentMacro());
  EXPECT_EQ(editor->Model()->Buffer().iActionIndex, -1);
}

// The store tells of the failure (the window warns once); the editor goes on.
TEST_F(MacroListCommandsTest, AFailedStoreSaveIsReportedByTheStore) {
  test::WriteBytes(dir / "ms_1", "a file where the store folder belongs");
  Open();
  Click("ms_1_macro_add_btn");
  ASSERT_EQ(store_reports.size(), 1u);
  EXPECT_EQ(store_reports[0].store, StoreKind::kMacros);
  EXPECT_FALSE(store_reports[0].saved);
  EXPECT_NE(store_reports[0].error.find("ms_1"), std::string::npos) << store_reports[0].error;
  EXPECT_EQ(macros.size(), 1u);  // kept in the list, saved with the next change
}

TEST_F(MacroListCommandsTest, TheDialogsOfferMacroFilesFromTheDataFolder) {
  const QString folder = QString::fromStdString(dir.string());
  for (const MacroFileUse use : {MacroFileUse::kImport, MacroFileUse::kExport}) {
    const auto dialog = MacroFileDialog(nullptr, use, folder, QStringLiteral("Jump"));
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Macro file (*.macro *.MACRO)")});
    EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Macro file (*.macro *.MACRO)"));
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder).canonicalPath());
    const bool importing = use == MacroFileUse::kImport;
    EXPECT_EQ(dialog->acceptMode(), importing ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->fileMode(), importing ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    EXPECT_EQ(dialog->defaultSuffix(), importing ? QString() : QStringLiteral("macro"));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  }
}

TEST_F(MacroListCommandsTest, ExportThenImportRoundTripsByteForByteWithAUniqueName) {
  AddStored(u"Jump", 5, 300);
  macros[0]->loop_count = 7;
  Open();
  Macros()->setCurrentRow(0);
  // Typed without its extension: the dialog adds it.
  EXPECT_EQ(UseFileDialog("ms_1_macro_export_btn", dir / "jump"), QStringList());
  const std::string exported = test::ReadBytes(dir / "jump.macro");
  EXPECT_EQ(exported, RecordBytes(*macros[0]));

  EXPECT_EQ(UseFileDialog("ms_1_macro_import_btn", dir / "jump.macro"), QStringList());
  ASSERT_EQ(macros.size(), 2u);
  EXPECT_EQ(FieldText(macros[1]->name), u"Jump_1");
  MacroRecord renamed = *macros[1];
  SetFieldText(renamed.name, u"Jump");
  EXPECT_EQ(RecordBytes(renamed), exported);  // only the name differs
  EXPECT_EQ(Macros()->currentRow(), 1);
  EXPECT_EQ(Macros()->item(1)->text(), QStringLiteral("Jump_1"));
  EXPECT_EQ(Steps()->count(), 5);
  EXPECT_EQ(fs::file_size(MacroStorePath(dir)), 2 * kMacroRecordSize);
}

TEST_F(MacroListCommandsTest, AFileThatIsNotOneSoundMacroIsRefusedWithAMessage) {
  AddStored(u"Keep", 2);
  std::string error;
  ASSERT_TRUE(SaveMacroStore(dir, macros, error)) << error;
  const std::string store = test::ReadBytes(MacroStorePath(dir));
  MacroRecord too_many = *macros[0];
  too_many.action_count = 47;
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"shorter than a record", std::string(239, '\0')},
      {"longer than a record", RecordBytes(*macros[0]) + "x"},
      {"more than 46 steps", RecordBytes(too_many)},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteBytes(dir / "bad.macro", c.bytes);
    EXPECT_EQ(UseFileDialog("ms_1_macro_import_btn", dir / "bad.macro"),
              QStringList{QStringLiteral("macro_import_failed_text")});
    EXPECT_EQ(macros.size(), 1u);
    EXPECT_EQ(Macros()->count(), 1);
    EXPECT_EQ(test::ReadBytes(MacroStorePath(dir)), store);
  }
}

TEST_F(MacroListCommandsTest, AFailedExportIsToldAndKeepsAnEarlierFile) {
  AddStored(u"Jump", 2);
  Open();
  Macros()->setCurrentRow(0);
  test::WriteBytes(dir / "jump.macro", "earlier");
  const WriteCall normal =
      ReplaceWriteCallForTesting(+[](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
      });
  const QStringList told = UseFileDialog("ms_1_macro_export_btn", dir / "jump.macro");
  ReplaceWriteCallForTesting(normal);
  EXPECT_EQ(overwrite_questions, 1);
  EXPECT_EQ(told, QStringList{QStringLiteral("macro_export_failed_text")});
  EXPECT_EQ(test::ReadBytes(dir / "jump.macro"), "earlier");
}

}  // namespace
}  // namespace ms1
