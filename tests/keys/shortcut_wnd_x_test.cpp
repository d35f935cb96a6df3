// The shortcut dialog in a real window on a private Xvfb, taking what xdotool
// types, as a user would type it: the X server's key events, by position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

#include "keys/shortcut_wnd.h"
#include "platform/language.h"
#include "platform/skin.h"
#include "support/qt_wait.h"
#include "support/x_session.h"
#include "support/x_test_main.h"

namespace ms1 {
namespace {

// Set up by main() before the QApplication exists.
test::XSession* x_server = nullptr;

void Type(const std::string& keys) {
  ASSERT_EQ(x_server->X({"/usr/bin/xdotool", "key", keys}).exit_code, 0);
}

TEST(ShortcutDialogOnX, TypedKeysGiveTheKeyOnTheLayoutAndModifiersThenEscapeCancels) {
  if (x_server == nullptr) GTEST_SKIP() << "needs Xvfb and xdotool";
  ASSERT_EQ(x_server->X({"/usr/bin/setxkbmap", "-layout", "fr"}).exit_code, 0);
  CShortcutWnd dialog;
  ASSERT_TRUE(dialog.Create());
  ASSERT_TRUE(test::ShowActive(dialog));
  auto* field = dialog.FindControl<QLineEdit>(QStringLiteral("edit_key"));
  ASSERT_NE(field, nullptr);
  QStringList shown;
  QObject::connect(field, &QLineEdit::textChanged, [&](const QString& t) { shown << t; });
  field->setFocus();
  Type("a");  // the French A lies where the US Q does
  ASSERT_TRUE(test::WaitFor([&] { return dialog.key_usage == 0x14; }));
  ASSERT_EQ(x_server->X({"/usr/bin/setxkbmap", "-layout", "us"}).exit_code, 0);
  dialog.FindControl(QStringLiteral("btn_cancel"))->setFocus();
  field->setFocus();  // the next key

  Type("ctrl+shift+c");
  ASSERT_TRUE(test::WaitFor([&] { return dialog.key_usage == 0x06; }));
  EXPECT_EQ(dialog.modifier_flags, (std::array<uint8_t, 4>{1, 1, 0, 0}));
  for (int n = 1; n <= 2; ++n) {
    EXPECT_TRUE(dialog.FindControl<QCheckBox>(QStringLiteral("check_flag_%1").arg(n))->isChecked());
  }

  // The key is taken: Escape is the dialog's again.
  Type("Escape");
  ASSERT_TRUE(test::WaitFor([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(dialog.result(), 0);
  // Releasing Ctrl and Shift after C never showed one of them as the key.
  EXPECT_EQ(shown, (QStringList{QStringLiteral("A"), Lan().Text(QStringLiteral("key_LCtrl")),
                                Lan().Text(QStringLiteral("key_LShift")), QStringLiteral("C")}));
}

}  // namespace
}  // namespace ms1

int main(int argc, char** argv) {
  return ms1::test::RunTestsOnPrivateX(argc, argv, ms1::x_server);
}
