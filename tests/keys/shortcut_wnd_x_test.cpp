// The shortcut dialog in a real window on a private Xvfb, with the program
// folder's Hook.so capturing what xdotool types, as a user would type it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <atomic>
#include <cstdlib>
#include <memory>

#include "keys/shortcut_wnd.h"
#include "platform/language.h"
#include "platform/skin.h"
#include "support/hook_library.h"
#include "support/qt_wait.h"
#include "support/test_paths.h"
#include "support/x_session.h"
#include "support/x_test_main.h"

namespace ms1 {
namespace {

const std::string kProgramFolder = test::paths::ProgramFolder() + "/";

// Set up by main() before the QApplication exists.
test::XSession* x_server = nullptr;

// Stands between Hook.so and the dialog, counting what the hook posts.
struct CountingTarget {
  Ms1WindowHandle dialog{};
  std::atomic<int> posted{0};

  static void Post(void* context, uint32_t message, uintptr_t w_param, intptr_t l_param) {
    auto* self = static_cast<CountingTarget*>(context);
    self->posted++;
    self->dialog.post(self->dialog.context, message, w_param, l_param);
  }
};

CountingTarget* target = nullptr;
test::HookLibrary* real_hook = nullptr;

void InstallCounting(Ms1WindowHandle dialog) {
  target->dialog = dialog;
  real_hook->installhook({target, &CountingTarget::Post});
}

class ShortcutDialogOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (x_server == nullptr) GTEST_SKIP() << "needs Xvfb and xdotool";
    hook_ = std::make_unique<test::HookLibrary>(kProgramFolder);
    ASSERT_TRUE(hook_->Loaded());
    real_hook = hook_.get();
    target = &target_;
    table_ = *hook_;
    table_.installhook = &InstallCounting;
  }
  void TearDown() override {
    if (hook_ != nullptr) hook_->Stop();
  }

  void Type(const std::string& keys) {
    ASSERT_EQ(x_server->X({"/usr/bin/xdotool", "key", keys}).exit_code, 0);
  }

  CountingTarget target_;
  std::unique_ptr<test::HookLibrary> hook_;
  InputHookTable table_;
};

TEST_F(ShortcutDialogOnX, TypedCombinationGivesItsKeyAndModifiersAndEscapeIsAKey) {
  ASSERT_EQ(x_server->X({"/usr/bin/setxkbmap", "-layout", "us"}).exit_code, 0);
  CShortcutWnd dialog;
  dialog.hook = &table_;
  ASSERT_TRUE(dialog.Create());
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(test::WaitFor([&] { return dialog.isActiveWindow(); }));
  auto* field = dialog.FindControl<QLineEdit>(QStringLiteral("edit_key"));
  ASSERT_NE(field, nullptr);
  QStringList shown;
  QObject::connect(field, &QLineEdit::textChanged, [&](const QString& t) { shown << t; });
  field->setFocus();
  ASSERT_TRUE(test::WaitFor([&] { return target_.dialog.post != nullptr; }));

  Type("ctrl+shift+c");
  ASSERT_TRUE(test::WaitFor([&] { return target_.posted == 6 && dialog.key_usage == 0x06; }));
  EXPECT_EQ(dialog.modifier_flags, (std::array<uint8_t, 4>{1, 1, 0, 0}));
  for (int n = 1; n <= 2; ++n) {
    EXPECT_TRUE(dialog.FindControl<QCheckBox>(QStringLiteral("check_flag_%1").arg(n))->isChecked());
  }

  // Escape goes to the field (which keeps it) and, through the hook, becomes
  // the key: the dialog stays open.
  Type("Escape");
  ASSERT_TRUE(test::WaitFor([&] { return target_.posted == 8 && dialog.key_usage == 0x29; }));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.modifier_flags, (std::array<uint8_t, 4>{1, 1, 0, 0}));
  // Releasing Ctrl and Shift after C never showed one of them as the key.
  EXPECT_EQ(shown, (QStringList{Lan().Text(QStringLiteral("key_LCtrl")),
                                Lan().Text(QStringLiteral("key_LShift")), QStringLiteral("C"),
                                Lan().Text(QStringLiteral("key_Esc"))}));
}

}  // namespace
}  // namespace ms1

int main(int argc, char** argv) {
  return ms1::test::RunTestsOnPrivateX(argc, argv, ms1::x_server);
}
