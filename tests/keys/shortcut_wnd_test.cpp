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

#include "support/qt_wait.h"

namespace ms1 {
namespace {

class ShortcutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    // Key names follow the layout; without a display that is the one named here.
    unsetenv("DISPLAY");
    setenv("XKB_DEFAULT_LAYOUT", "us", 1);
  }

  void Open(CShortcutWnd& dialog) {
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);  // a compositor without a seat gives no focus
    ASSERT_TRUE(test::WaitFor([&] { return dialog.isActiveWindow(); }));
    field = dialog.FindControl<QLineEdit>(QStringLiteral("edit_key"));
    ASSERT_NE(field, nullptr);
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
    Open(dialog);
    for (int n = 1; n <= 4; ++n) {
      auto* box = dialog.FindControl<QCheckBox>(QStringLiteral("check_flag_%1").arg(n));
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->isChecked(), c.checked[n - 1]) << "box " << n;
    }
    EXPECT_EQ(field->text(), QString::fromUtf8(c.key_text));
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(dialog.FindControl(QStringLiteral("btn_ok"))->isEnabled(), c.usage != 0);
  }
}

// Typed through Qt's own input path (offscreen here, and on Wayland in
// tests/app/wayland_process_test.cpp): one key, with its modifiers, each time
// the field gains the focus or is clicked; then Tab, Escape and Enter are the
// dialog's again.
TEST_F(ShortcutDialog, TheFieldTakesOneKeyPerFocusAndThenLetsTheKeyboardGo) {
  // A key is pressed and released, or only pressed (kHeld) or only released
  // (kLetGo); kClickField clicks the field.
  constexpr int kHeld = 0x20000000, kLetGo = 0x40000000, kClickField = -1;
  struct Case {
    std::array<uint8_t, 4> flags_before;
    std::vector<int> keys;
    uint8_t usage;
    std::array<uint8_t, 4> flags;
    int result;  // -1: open
    bool focused;
  } const cases[] = {
      {{0, 0, 1, 0},
       {Qt::Key_Control | kHeld, Qt::Key_Shift | kHeld, Qt::Key_C, Qt::Key_Shift | kLetGo,
        Qt::Key_Control | kLetGo},
       0x06, {1, 1, 0, 0}, -1, true},
      {{0, 0, 0, 0}, {Qt::Key_AltGr | kHeld, Qt::Key_F5, Qt::Key_AltGr | kLetGo}, 0x3E,
       {0, 0, 1, 0}, -1, true},
      {{0, 1, 0, 0}, {Qt::Key_Control}, 0xE0, {0, 1, 0, 0}, -1, true},  // alone, it is the key
      {{0, 0, 0, 0}, {Qt::Key_Shift | kLetGo, Qt::Key_1}, 0x1E, {0, 0, 0, 0}, -1, true},
      {{0, 0, 0, 0}, {Qt::Key_Escape, Qt::Key_Escape}, 0x29, {0, 0, 0, 0}, 0, false},
      {{0, 0, 0, 0}, {Qt::Key_Return, Qt::Key_Return}, 0x28, {0, 0, 0, 0}, 1, false},
      {{0, 0, 0, 0}, {Qt::Key_Tab, Qt::Key_Tab}, 0x2B, {0, 0, 0, 0}, -1, false},
      {{0, 0, 0, 0}, {Qt::Key_A, Qt::Key_B}, 0x04, {0, 0, 0, 0}, -1, true},
      {{0, 0, 0, 0}, {Qt::Key_A, kClickField, Qt::Key_B}, 0x05, {0, 0, 0, 0}, -1, true},
  };
  for (const Case& c : cases) {
    CShortcutWnd dialog;
    dialog.modifier_flags = c.flags_before;
    Open(dialog);
    field->setFocus();
    for (const int k : c.keys) {
      const auto key = static_cast<Qt::Key>(k & ~(kHeld | kLetGo));
      if (k == kClickField) QTest::mouseClick(field, Qt::LeftButton);
      if (k != kClickField && (k & kLetGo) == 0) {
        QTest::sendKeyEvent(QTest::Press, dialog.windowHandle(), key, QString(), {});
      }
      if (k != kClickField && (k & kHeld) == 0) {
        QTest::sendKeyEvent(QTest::Release, dialog.windowHandle(), key, QString(), {});
      }
    }
    EXPECT_EQ(dialog.key_usage, c.usage) << c.keys.front();
    EXPECT_EQ(dialog.modifier_flags, c.flags) << c.keys.front();
    EXPECT_EQ(dialog.isVisible() ? -1 : dialog.result(), c.result) << c.keys.front();
    EXPECT_EQ(field->hasFocus(), c.focused) << c.keys.front();
  }
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
    dialog.key_usage = 0x04;
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

}  // namespace
}  // namespace ms1
