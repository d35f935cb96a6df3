// The macro editor in a real window on a private Xvfb, recording with the
// program folder's Hook.so what xdotool types, as a user would type it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <cstdlib>
#include <memory>

#include "macro/macro_editor_window.h"
#include "macro/recorder_memory.h"
#include "platform/language.h"
#include "platform/skin.h"
#include "support/hook_library.h"
#include "support/qt_wait.h"
#include "support/temp_dir.h"
#include "support/x_session.h"
#include "support/x_test_main.h"

namespace ms1 {
namespace {

constexpr char kProgramFolder[] = MS1_APP_DIR "/";

// Set up by main() before the QApplication exists.
test::XSession* x_server = nullptr;

class MacroEditorOnX : public test::TempDirTest {
 protected:
  void SetUp() override {
    if (x_server == nullptr) GTEST_SKIP() << "needs Xvfb and xdotool";
    hook_ = std::make_unique<test::HookLibrary>(kProgramFolder);
    ASSERT_TRUE(hook_->Loaded());
    ProcessRecorderMemory() = RecorderMemory{};
  }
  void TearDown() override {
    if (hook_ != nullptr) hook_->Stop();
    TempDirTest::TearDown();
  }

  std::unique_ptr<test::HookLibrary> hook_;
};

TEST_F(MacroEditorOnX, RecordsTypedKeysIntoTheMacro) {
  ASSERT_EQ(x_server->X({"/usr/bin/setxkbmap", "-layout", "us"}).exit_code, 0);
  MacroList macros;
  {
    CMS_1_Macro editor;
    editor.macros = &macros;
    editor.hook = hook_.get();
    editor.data_folder = dir;
    ASSERT_TRUE(editor.Create());
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(test::WaitFor([&] { return editor.isActiveWindow(); }));
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
  const uint8_t keys[] = {0x04, 0x04, 0x05, 0x05, 0x29, 0x29};
  const uint8_t states[] = {1, 2, 1, 2, 1, 2};
  ASSERT_EQ(macros[0]->action_count, 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(macros[0]->actions[i].key, keys[i]) << i;
    EXPECT_EQ(macros[0]->actions[i].state, states[i]) << i;
  }
}

}  // namespace
}  // namespace ms1

int main(int argc, char** argv) {
  return ms1::test::RunTestsOnPrivateX(argc, argv, ms1::x_server);
}
