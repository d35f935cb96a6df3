#include "keys/shortcut_wnd.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/input_capture.h"
#include "platform/language.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

// A stand-in input hook: records the calls and keeps the window it was given,
// so a test can post key events as the library would.
std::vector<std::string> calls;
Ms1WindowHandle installed{};
bool have_window = false;

void InstallHook(Ms1WindowHandle window) {
  calls.push_back("installhook");
  installed = window;
  have_window = true;
}
void RemoveHook() {
  calls.push_back("removehook");
  have_window = false;
}
void EnableHook(int flag) { calls.push_back("enablehook " + std::to_string(flag)); }

const InputHookTable kHook = [] {
  InputHookTable t;
  t.installhook = &InstallHook;
  t.removehook = &RemoveHook;
  t.enablehook = &EnableHook;
  return t;
}();

constexpr uintptr_t kPress = 0;
constexpr uintptr_t kRelease = 1;

class ShortcutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    // Key names follow the layout; without a display that is the one named here.
    unsetenv("DISPLAY");
    setenv("XKB_DEFAULT_LAYOUT", "us", 1);
    calls.clear();
    have_window = false;
  }

  void Open(CShortcutWnd& dialog) {
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(test::WaitFor([&] { return dialog.isActiveWindow(); }));
    field = dialog.FindControl<QLineEdit>(QStringLiteral("edit_key"));
    ASSERT_NE(field, nullptr);
  }

  // Gives the key field the focus and waits for the hook to be installed.
  void FocusKeyField() {
    field->setFocus();
    ASSERT_TRUE(test::WaitFor([] { return have_window; }));
  }

  // Posts a key event as the hook's thread would and waits for the dialog to
  // take it.
  void HookKey(CShortcutWnd& dialog, uintptr_t virtual_key, uintptr_t release) {
    ASSERT_TRUE(have_window);
    const QString before = field->text();
    const uint8_t usage_before = dialog.key_usage;
    installed.post(installed.context, MS1_HOOK_EVENT_MESSAGE, virtual_key,
                   static_cast<intptr_t>(release));
    // The message is handled from the event loop, never inside post.
    EXPECT_EQ(dialog.key_usage, usage_before);
    EXPECT_EQ(field->text(), before);
    QCoreApplication::processEvents();
  }

  QLineEdit* field = nullptr;
};

TEST_F(ShortcutDialog, ShowsTheButtonsShortcutWhenOpened) {
  struct Case {
    std::array<uint8_t, 4> flags;
    uint8_t usage;
    std::array<bool, 4> checked;
    const char* key_text;
  };
  const Case cases[] = {
      {{1, 0, 1, 0}, 0x04, {true, false, true, false}, "A"},
      {{0, 2, 0, 1}, 0x3E, {false, true, false, true}, "F5"},
      {{0, 0, 0, 0}, 0x00, {false, false, false, false}, ""},
  };
  for (const Case& c : cases) {
    CShortcutWnd dialog;
    dialog.modifier_flags = c.flags;
    dialog.key_usage = c.usage;
    dialog.hook = &kHook;
    Open(dialog);
    for (int n = 1; n <= 4; ++n) {
      auto* box = dialog.FindControl<QCheckBox>(QStringLiteral("check_flag_%1").arg(n));
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->isChecked(), c.checked[n - 1]) << "box " << n;
    }
    EXPECT_EQ(field->text(), QString::fromUtf8(c.key_text));
    EXPECT_TRUE(field->isReadOnly());
  }
}

TEST_F(ShortcutDialog, TheHookRunsOnlyWhileTheKeyFieldHasTheFocus) {
  {
    CShortcutWnd dialog;
    dialog.hook = &kHook;
    Open(dialog);
    EXPECT_TRUE(calls.empty() || !have_window);
    calls.clear();
    FocusKeyField();
    EXPECT_EQ(calls, (std::vector<std::string>{"installhook", "enablehook 1"}));
    calls.clear();
    dialog.FindControl(QStringLiteral("check_flag_1"))->setFocus();
    ASSERT_TRUE(test::WaitFor([] { return !have_window; }));
    EXPECT_EQ(calls, (std::vector<std::string>{"removehook", "enablehook 0"}));
    FocusKeyField();
    calls.clear();
  }
  // The window's end removes the hook even while the field had the focus.
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "removehook");
  EXPECT_FALSE(have_window);
}

TEST_F(ShortcutDialog, HookedKeysBecomeTheShortcutKeyAndTheLastEventDecides) {
  struct Case {
    uintptr_t virtual_key;
    uint8_t usage;
    const char* language_key;  // of the shown text; null: the text itself
    const char* text;
  };
  const Case cases[] = {
      {'C', 0x06, nullptr, "C"},
      {0x31, 0x1E, nullptr, "1"},
      {0xA2, 0xE0, "key_LCtrl", nullptr},   // a left/right modifier has a row
      {0x10, 0x00, nullptr, ""},            // the generic Shift has none
      {0x1B, 0x29, "key_Esc", nullptr},     // Escape is a key like any other
      {0x0D, 0x28, "key_Enter", nullptr},
      {0x74, 0x3E, "key_F5", nullptr},
      {0xE9, 0x00, nullptr, ""},            // no row at all
  };
  CShortcutWnd dialog;
  dialog.hook = &kHook;
  Open(dialog);
  FocusKeyField();
  for (const Case& c : cases) {
    dialog.key_usage = 0x55;
    HookKey(dialog, c.virtual_key, kPress);
    HookKey(dialog, c.virtual_key, kRelease);
    EXPECT_EQ(dialog.key_usage, c.usage) << std::hex << c.virtual_key;
    const QString shown = c.language_key != nullptr ? Lan().Text(QLatin1String(c.language_key))
                                                    : QString::fromUtf8(c.text);
    EXPECT_EQ(field->text(), shown) << std::hex << c.virtual_key;
  }
}

TEST_F(ShortcutDialog, ACombinationTypedIntoTheFieldGivesItsKeyAndTicksItsModifiers) {
  struct Event {
    uintptr_t virtual_key;
    uintptr_t release;
  };
  struct Case {
    const char* what;
    std::array<uint8_t, 4> flags_before;
    std::vector<Event> events;
    uint8_t usage;
    std::array<uint8_t, 4> flags;
  };
  const Case cases[] = {
      {"Ctrl+Shift+C",
       {0, 0, 1, 0},
       {{0xA2, kPress}, {0xA0, kPress}, {'C', kPress}, {'C', kRelease}, {0xA0, kRelease},
        {0xA2, kRelease}},
       0x06,
       {1, 1, 0, 0}},
      {"right Alt+F5, released in another order",
       {0, 0, 0, 0},
       {{0xA5, kPress}, {0x74, kPress}, {0xA5, kRelease}, {0x74, kRelease}},
       0x3E,
       {0, 0, 1, 0}},
      {"Ctrl alone is the key; the boxes stay",
       {0, 1, 0, 0},
       {{0xA2, kPress}, {0xA2, kRelease}},
       0xE0,
       {0, 1, 0, 0}},
      {"a key alone leaves the ticked boxes",
       {1, 0, 0, 1},
       {{'A', kPress}, {'A', kRelease}},
       0x04,
       {1, 0, 0, 1}},
      {"after a combination, a modifier alone is the key again",
       {0, 0, 0, 0},
       {{0x5B, kPress}, {'E', kPress}, {'E', kRelease}, {0x5B, kRelease}, {0xA1, kPress},
        {0xA1, kRelease}},
       0xE5,
       {0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    CShortcutWnd dialog;
    dialog.hook = &kHook;
    dialog.modifier_flags = c.flags_before;
    Open(dialog);
    FocusKeyField();
    for (const Event& e : c.events) HookKey(dialog, e.virtual_key, e.release);
    EXPECT_EQ(dialog.key_usage, c.usage) << c.what;
    EXPECT_EQ(dialog.modifier_flags, c.flags) << c.what;
    for (int n = 1; n <= 4; ++n) {
      auto* box = dialog.FindControl<QCheckBox>(QStringLiteral("check_flag_%1").arg(n));
      EXPECT_EQ(box->isChecked(), c.flags[n - 1] != 0) << c.what << " box " << n;
    }
  }
}

TEST_F(ShortcutDialog, DialogKeysTypedIntoTheFieldNeitherCloseNorMoveOn) {
  CShortcutWnd dialog;
  dialog.hook = &kHook;
  Open(dialog);
  FocusKeyField();
  for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
    QTest::keyClick(field, key);
    EXPECT_TRUE(dialog.isVisible()) << key;
    EXPECT_TRUE(field->hasFocus()) << key;
    EXPECT_EQ(dialog.result(), 0) << key;
  }
  // Typing into the field itself changes nothing: keys come from the hook.
  QTest::keyClicks(field, QStringLiteral("xyz"));
  EXPECT_TRUE(field->text().isEmpty());
}

TEST_F(ShortcutDialog, ModifierBoxesAndButtonsDecideTheResult) {
  struct Case {
    std::vector<int> clicks;  // boxes clicked, in order
    const char* button;
    int result;
    std::array<uint8_t, 4> flags;
  };
  const Case cases[] = {
      {{1, 2}, "btn_ok", 1, {1, 1, 0, 0}},
      {{3, 3}, "btn_ok", 1, {0, 0, 0, 0}},  // ticked and unticked: off
      {{4}, "btn_cancel", 0, {0, 0, 0, 1}},
      {{}, "btn_exit", 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    CShortcutWnd dialog;
    dialog.hook = &kHook;
    ASSERT_TRUE(dialog.Create());
    int result = -1;
    test::WhenModal([&](QWidget* modal) {
      ASSERT_EQ(modal, &dialog);
      for (int n : c.clicks) {
        auto* box = dialog.FindControl<QCheckBox>(QStringLiteral("check_flag_%1").arg(n));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
      }
      QTest::mouseClick(dialog.FindControl(QLatin1String(c.button)), Qt::LeftButton);
    });
    result = dialog.ShowModal();
    EXPECT_EQ(result, c.result) << c.button;
    EXPECT_EQ(dialog.modifier_flags, c.flags) << c.button;
  }
}

TEST_F(ShortcutDialog, WithoutTheHookLibraryTheDialogSaysSoAndStillWorks) {
  const InputHookTable unbound;
  for (const InputHookTable* table : {static_cast<const InputHookTable*>(nullptr), &unbound}) {
    CShortcutWnd dialog;
    dialog.hook = table;
    dialog.key_usage = 0x06;
    Open(dialog);
    auto* note = dialog.FindControl<QLabel>(QStringLiteral("shortcut_capture_note"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), Lan().Text(QStringLiteral("input_capture_no_hook_text")));
    field->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(field->text(), QStringLiteral("C"));
  }
  EXPECT_TRUE(calls.empty());
}

TEST_F(ShortcutDialog, WithoutAnXDisplayTheDialogSaysCaptureCannotWork) {
  CShortcutWnd dialog;
  dialog.hook = &kHook;
  Open(dialog);
  auto* note = dialog.FindControl<QLabel>(QStringLiteral("shortcut_capture_note"));
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), Lan().Text(QLatin1String(kInputCaptureNoDisplayKey)));
}

}  // namespace
}  // namespace ms1
