#include <QStackedWidget>
#include <QTest>

#include "model/macro_store.h"
#include "platform/language.h"
#include "tests/macro/editor_window_fixture.h"

namespace ms1 {
namespace {

using Texts = std::vector<std::string>;
using test::hook_window;
using test::hooked;
using test::kKeyPress;
using test::kKeyRelease;
using MacroEditor = test::EditorWindowTest;

TEST_F(MacroEditor, ListsTheMacrosAndShowsTheStepsOfTheOneChosen) {
  AddStored(u"Jump", 3, 250);
  AddStored(u"Run", 0);
  macros[0]->actions[1] = {0xF4, 2, 70};
  Open();
  ASSERT_EQ(Macros()->count(), 2);
  EXPECT_EQ(Macros()->item(1)->text(), QStringLiteral("Run"));
  EXPECT_EQ(Macros()->currentRow(), -1);
  EXPECT_EQ(Steps()->count(), 0);

  Macros()->setCurrentRow(0);
  const std::string press = Lan().Text(QStringLiteral("key_down_action")).toStdString();
  const std::string release = Lan().Text(QStringLiteral("key_up_action")).toStdString();
  const std::string back = Lan().Text(QStringLiteral("Backward_Button")).toStdString();
  // The last row shows 10 whatever is stored; the last row is selected.
  EXPECT_EQ(StepTexts(),
            (Texts{"A " + press + " 250", back + " " + release + " 70", "B " + press + " 10"}));
  EXPECT_EQ(Control<QLineEdit>("ms_1_macro_name_edit")->text(), QStringLiteral("Jump"));
  EXPECT_EQ(Steps()->currentRow(), 2);
  EXPECT_EQ(editor->Model()->Buffer().iActionIndex, 2);
}

TEST_F(MacroEditor, RecordsHookEventsIntoTheMacroAndItsStore) {
  struct Case {
    const char* what;
    int stored_steps;
    int selected_step;  // -1: none, the macro is recorded afresh
    std::vector<std::pair<uintptr_t, intptr_t>> events;
    Texts rows;
    int selected_after;
  };
  const std::string p = " " + Lan().Text(QStringLiteral("key_down_action")).toStdString();
  const std::string r = " " + Lan().Text(QStringLiteral("key_up_action")).toStdString();
  const std::string left = Lan().Text(QStringLiteral("L_Button")).toStdString();
  const Case cases[] = {
      {"a held key is one press and one release",
       0,
       -1,
       {{'Q', 0}, {'Q', 0}, {'Q', 0}, {'Q', 1}},
       {"Q" + p + " 10", "Q" + r + " 10"},
       1},
      {"two pairs are four steps",
       2,
       -1,
       {{'Q', 0}, {'Q', 1}, {'W', 0}, {'W', 1}},
       {"Q" + p + " 10", "Q" + r + " 10", "W" + p + " 10", "W" + r + " 10"},
       3},
      {"steps go after the selected step",
       4,
       1,
       {{'C', 0}, {0x201, 0}, {0x202, 0}, {'C', 1}},
       {"A" + p + " 10", "A" + r + " 10", "C" + p + " 10", left + p + " 10", left + r + " 10",
        "C" + r + " 10", "B" + p + " 10", "B" + r + " 10"},
       5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    macros.clear();
    AddStored(u"M", c.stored_steps);
    Open();
    Macros()->setCurrentRow(0);
    Steps()->setCurrentRow(c.selected_step);
    Click("ms_1_macro_record_btn");
    ASSERT_TRUE(hooked);
    EXPECT_TRUE(Control<QCheckBox>("ms_1_macro_record_btn")->isChecked());
    QApplication::setActiveWindow(nullptr);  // the user goes on in another program
    for (const auto& [first, second] : c.events) HookEvent(first, second);
    Click("ms_1_macro_record_btn");
    EXPECT_FALSE(hooked);
    EXPECT_EQ(Control<QCheckBox>("ms_1_macro_record_btn")->text(),
              Lan().Text(QStringLiteral("start_recording_text")));
    EXPECT_EQ(StepTexts(), c.rows);
    EXPECT_EQ(Steps()->currentRow(), c.selected_after);
    // What the list shows is what the store holds.
    MacroList stored;
    LoadMacroStore(dir, stored);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->action_count, static_cast<int32_t>(c.rows.size()));
    ProcessRecorderMemory() = RecorderMemory{};
  }
}

TEST_F(MacroEditor, RecordingStopsByItselfAtTheStepLimit) {
  AddStored(u"Long", 44);
  Open();
  Macros()->setCurrentRow(0);
  Click("ms_1_macro_record_btn");
  QApplication::setActiveWindow(nullptr);
  KeyTap('Z');
  EXPECT_FALSE(hooked);
  EXPECT_FALSE(Control<QCheckBox>("ms_1_macro_record_btn")->isChecked());
  // An event already on its way when the recording stopped is no step.
  hook_window.post(hook_window.context, MS1_HOOK_EVENT_MESSAGE, 'Y', 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(Steps()->count(), 46);
  EXPECT_EQ(macros[0]->action_count, 46);
}

TEST_F(MacroEditor, RecordingWithoutAMacroAddsOneAndKeysDoNotReachTheWindow) {
  Open();
  Click("ms_1_macro_record_btn");
  ASSERT_EQ(macros.size(), 1u);
  EXPECT_EQ(Macros()->currentRow(), 0);
  // While recording, keys typed into the window are only steps, taken from
  // the window itself: Escape does not close it and Space does not switch the
  // focused record button. The hook's copy of such a key is no second step.
  QWidget* record = Control("ms_1_macro_record_btn");
  record->setFocus();
  QTest::keyClick(record, Qt::Key_Space);
  QTest::keyClick(editor.get(), Qt::Key_Escape);
  KeyTap(' ');
  EXPECT_TRUE(editor->isVisible());
  EXPECT_TRUE(Control<QCheckBox>("ms_1_macro_record_btn")->isChecked());
  QApplication::setActiveWindow(nullptr);
  KeyTap('K');                            // typed into another program: only the hook sees it
  EXPECT_EQ(macros[0]->action_count, 0);  // committed when the recording stops
  editor->Close(1);
  // Closing ends the recording: the hook is gone and the steps are kept.
  EXPECT_FALSE(hooked);
  const uint8_t keys[] = {0x2C, 0x2C, 0x29, 0x29, 0x0E, 0x0E};  // Space, Escape, K
  ASSERT_EQ(macros[0]->action_count, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(macros[0]->actions[i].key, keys[i]) << i;
}

TEST_F(MacroEditor, AStepDelayTheMouseCannotHoldSnapsBackAndTheEditorSaysWhy) {
  AddStored(u"Full", 46);
  Open();
  Macros()->setCurrentRow(0);
  auto* field = Control<QLineEdit>("ms_1_macro_delay_edit");
  auto set_delay = [&](int row, const char* text) {
    Steps()->setCurrentRow(row);
    field->setText(QString::fromLatin1(text));
    QTest::keyClick(field, Qt::Key_Return);
  };
  Steps()->setCurrentRow(0);
  Click("ms_1_macro_action_edit_check");
  ASSERT_EQ(Control<QStackedWidget>("ms_1_macro_action_edit_tab")->currentIndex(), 1);
  for (int row = 0; row < 4; ++row) set_delay(row, "2000");  // 46 steps, 4 long: 50 pairs
  EXPECT_EQ(macros[0]->actions[3].delay_ms, 2000);
  auto* note = Control<QLabel>("macro_steps_note");
  set_delay(4, "5");  // the smallest delay is 10, and the field says so
  EXPECT_EQ(field->text(), QStringLiteral("10"));
  set_delay(5, "3000");  // a fifth: 51 pairs, undone
  EXPECT_EQ(macros[0]->actions[5].delay_ms, 10);
  EXPECT_EQ(StepTexts()[5].substr(StepTexts()[5].rfind(' ')), " 10");
  EXPECT_EQ(StepTexts()[0].substr(StepTexts()[0].rfind(' ')), " 2000");
  EXPECT_FALSE(note->isHidden());
  EXPECT_EQ(note->text(), Lan()
                              .Text(QStringLiteral("macro_change_refused_text"))
                              .arg(Lan()
                                       .Text(QStringLiteral("macro_fit_pairs_text"))
                                       .arg(QStringLiteral("50"), QStringLiteral("1270"))));
  // Removing the last step leaves W pressed: the editor flags it and keeps it.
  Click("ms_1_macro_delete_action_btn");
  EXPECT_EQ(macros[0]->action_count, 45);
  EXPECT_EQ(note->text(), Lan().Text(QStringLiteral("macro_keys_held_text")).arg("W"));
}

TEST_F(MacroEditor, TheKeyFieldTakesOneKeyPerFocusForTheSelectedStep) {
  AddStored(u"M", 4);
  Open();
  Macros()->setCurrentRow(0);
  Steps()->setCurrentRow(1);
  Click("ms_1_macro_action_edit_check");
  auto* key = Control<QLineEdit>("ms_1_macro_action_edit");
  key->setFocus();
  QTest::keyClick(key, Qt::Key_Escape);  // a key like any other: the window stays
  EXPECT_EQ(key->text(), Lan().Text(QStringLiteral("key_Esc")));
  EXPECT_EQ(macros[0]->actions[1].key, 0x29);
  EXPECT_EQ(macros[0]->actions[1].state, 2);  // a capture leaves press or release alone
  EXPECT_TRUE(editor->isVisible());
  QTest::keyClick(key, Qt::Key_Tab);  // the key is taken: Tab moves on
  EXPECT_FALSE(key->hasFocus());
  EXPECT_EQ(macros[0]->actions[1].key, 0x29);
  EXPECT_TRUE(test::hook_calls.empty());
}

}  // namespace
}  // namespace ms1
