// The macro editor in a real window on a private Xvfb, recording with the
// program folder's Hook.so what xdotool types, as a user would type it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdlib>
#include <memory>

#include "macro/macro_editor_window.h"
#include "macro/mouse_buttons.h"
#include "macro/recorder_memory.h"
#include "platform/language.h"
#include "platform/skin.h"
#include "support/hook_library.h"
#include "support/qt_wait.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/x_session.h"
#include "support/x_test_main.h"

namespace ms1 {
namespace {

const std::string kProgramFolder = test::paths::ProgramFolder() + "/";

// Set up by main() before the QApplication exists.
test::XSession* x_server = nullptr;

class MacroEditorOnX : public test::TempDirTest {
 protected:
  void SetUp() override {
    if (x_server == nullptr) GTEST_SKIP() << "needs Xvfb and xdotool";
    hook_ = std::make_unique<test::HookLibrary>(kProgramFolder);
    ASSERT_TRUE(hook_->Loaded());
    ProcessRecorderMemory() = RecorderMemory{};
    ASSERT_EQ(x_server->X({"/usr/bin/setxkbmap", "-layout", "us"}).exit_code, 0);
  }
  void TearDown() override {
    if (hook_ != nullptr) hook_->Stop();
    TempDirTest::TearDown();
  }

  // An editor on `macros`, shown and active, so that it gets what is typed.
  std::unique_ptr<CMS_1_Macro> ShowEditor(MacroList& macros) {
    auto editor = std::make_unique<CMS_1_Macro>();
    editor->macros = &macros;
    editor->hook = hook_.get();
    editor->file_folder = dir;
    if (!editor->Create() || !test::ShowActive(*editor)) return nullptr;
    return editor;
  }

  // The macro holds a press and a release of each of `keys` in turn.
  static void ExpectPressedAndReleased(const MacroRecord& macro, const std::vector<uint8_t>& keys) {
    ASSERT_EQ(macro.action_count, static_cast<int>(keys.size()));
    for (std::size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(macro.actions[i].key, keys[i]) << i;
      EXPECT_EQ(macro.actions[i].state, i % 2 == 0 ? 1 : 2) << i;
    }
  }

  std::unique_ptr<test::HookLibrary> hook_;
};

TEST_F(MacroEditorOnX, RecordsTypedKeysIntoTheMacro) {
  MacroList macros;
  {
    const std::unique_ptr<CMS_1_Macro> shown = ShowEditor(macros);
    ASSERT_NE(shown, nullptr);
    CMS_1_Macro& editor = *shown;
    auto* record = editor.FindControl<QCheckBox>(QStringLiteral("ms_1_macro_record_btn"));
    ASSERT_NE(record, nullptr);
    record->click();  // no macro yet: one is added and recorded into
    ASSERT_EQ(macros.size(), 1u);
    ASSERT_TRUE(editor.Model()->Buffer().recording);

    ASSERT_EQ(x_server->X({"/usr/bin/xdotool", "key", "a", "b", "Escape"}).exit_code, 0);
    ASSERT_TRUE(test::WaitFor([&] { return editor.Model()->Buffer().action_count == 6; }));
    // The keys went to the recorder only: Escape did not close the window.
    EXPECT_TRUE(editor.isVisible());
    EXPECT_TRUE(record->isChecked());
    record->click();
    EXPECT_FALSE(editor.Model()->Buffer().recording);
    EXPECT_EQ(editor.FindControl<QListWidget>(QStringLiteral("ms_1_macro_action_list"))->count(),
              6);
  }
  ExpectPressedAndReleased(*macros[0], {0x04, 0x04, 0x05, 0x05, 0x29, 0x29});
}

// The user types a key, pauses, right-clicks beside the steps and stops the
// recording with a click on its button: in each delay mode the pause lands as
// the mode says, and the stopping click is no step.
TEST_F(MacroEditorOnX, RecordsKeysAndClicksInEachDelayModeButNotTheStoppingClick) {
  struct Case {
    const char* option;
    uint16_t min_pause_ms;  // the delay of the step before the pause
    uint16_t max_pause_ms;
  };
  const Case cases[] = {
      {"ms_1_record_delay_btn", 250, 5000},
      {"ms_1_default_delay_btn", 120, 120},
      {"ms_1_no_delay_btn", 10, 10},
  };
  for (const Case& c : cases) {
    MacroList macros;
    const std::unique_ptr<CMS_1_Macro> shown = ShowEditor(macros);
    ASSERT_NE(shown, nullptr);
    CMS_1_Macro& editor = *shown;
    editor.FindControl<QAbstractButton>(QString::fromLatin1(c.option))->click();
    editor.FindControl<QLineEdit>(QStringLiteral("ms_1_default_delay_edit"))->setText("120");
    auto* record = editor.FindControl<QCheckBox>(QStringLiteral("ms_1_macro_record_btn"));
    QStyleOptionButton option;
    option.initFrom(record);
    option.text = record->text();
    const QPoint on_record =
        record->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, record).center();
    const auto move_to = [&](QWidget* w, QPoint p, bool over_record) {
      const QPoint g = w->mapToGlobal(p);
      x_server->X({"/usr/bin/xdotool", "mousemove", std::to_string(g.x()), std::to_string(g.y())});
      return test::WaitFor([&] { return record->underMouse() == over_record; });
    };
    // Mouse buttons count once the pointer has left the record button.
    ASSERT_TRUE(move_to(record, on_record, true));
    ASSERT_EQ(x_server->X({"/usr/bin/xdotool", "click", "1"}).exit_code, 0);
    ASSERT_TRUE(test::WaitFor([&] { return editor.Model()->Buffer().recording; }));
    ASSERT_TRUE(move_to(&editor, QPoint(4, editor.height() - 4), false));
    // Typed while the window's loop runs, so that each event is taken when it
    // happens and the pause shows. Steps are timed when the loop takes them,
    // which under load can be tens of milliseconds late: the pause is well
    // above the least that record-delay mode must show.
    const pid_t typing = test::Spawn({"/usr/bin/xdotool", "key", "a", "sleep", "0.6", "click", "3"},
                                     {"DISPLAY=" + x_server->Display()});
    ASSERT_TRUE(test::WaitFor([&] { return waitpid(typing, nullptr, WNOHANG) == typing; }));
    ASSERT_TRUE(test::WaitFor([&] { return editor.Model()->Buffer().action_count == 4; }));

    ASSERT_TRUE(move_to(record, on_record, true));
    ASSERT_EQ(x_server->X({"/usr/bin/xdotool", "click", "1"}).exit_code, 0);
    ASSERT_TRUE(test::WaitFor([&] { return !editor.Model()->Buffer().recording; }));
    if (c.option == cases[0].option)
      x_server->Screenshot(test::paths::ArtifactFolder() + "macro_editor.png");
    editor.close();

    SCOPED_TRACE(c.option);
    ASSERT_EQ(macros.size(), 1u);
    ExpectPressedAndReleased(*macros[0], {0x04, 0x04, kMouseRightCode, kMouseRightCode});
    EXPECT_GE(macros[0]->actions[1].delay_ms, c.min_pause_ms) << c.option;
    EXPECT_LE(macros[0]->actions[1].delay_ms, c.max_pause_ms) << c.option;
  }
}

}  // namespace
}  // namespace ms1

int main(int argc, char** argv) {
  return ms1::test::RunTestsOnPrivateX(argc, argv, ms1::x_server);
}
