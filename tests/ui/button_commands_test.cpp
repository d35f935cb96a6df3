// The key buttons' menus in the real window on the virtual mouse: a choice
// reaching the button's records and the mouse, the left-click rule, and the
// shortcut dialog's answer stored, shown and sent.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QMenu>

#include "device/messages.h"
#include "device_page_fixture.h"
#include "dialogs/msg_wnd.h"
#include "dialogs/select_macro.h"
#include "keys/shortcut_wnd.h"
#include "libs/virtualmouse/hex_text.h"
#include "macro/macro_editor_window.h"
#include "model/function_table.h"
#include "model/macro_report.h"
#include "model/profile.h"
#include "page_dialog_answers.h"
#include "platform/language.h"
#include "support/qt_wait.h"
#include "support/scoped_env.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

class ButtonMenus : public test::DevicePageTest {
 protected:
  QAbstractButton* KeyButton(int control_number) {
    return Control<QAbstractButton>("ms_1_btn_key_", control_number);
  }
  QString Caption(int control_number) {
    return KeyButton(control_number)->property("fullcaption").toString();
  }
  // A key button's menu, opened by clicking the button as the user does.
  QMenu* OpenKeyMenu(int control_number) {
    QTest::mouseClick(KeyButton(control_number), Qt::LeftButton);
    QMenu* menu = nullptr;
    test::WaitFor([&] {
      menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu != nullptr;
    });
    return menu;
  }
  // Chooses an item of the open menu (in any sub-menu) by its name.
  void Choose(QMenu* menu, const char* item) {
    ASSERT_NE(menu, nullptr);
    auto* action = menu->findChild<QAction*>(QString::fromLatin1(item));
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
    menu->close();
  }
  // The triple the mouse holds for a button of mode record 0.
  nlohmann::json MouseButton(int button) {
    return sim->State()["modes"][0]["buttons"]["buttons"][button];
  }
  // Waits until the mouse holds the function `code` on a button of mode record 0.
  bool MouseHolds(int button, uint8_t code) {
    const DeviceBytes bytes = DeviceBytesFor(code);
    const nlohmann::json triple{bytes[0], bytes[1], bytes[2]};
    return test::WaitFor([&] { return MouseButton(button) == triple; }, 30000);
  }
  uint8_t Function(int mode, int button) {
    return ModeOf(Current(), mode).buttons[button].function_code;
  }
};

TEST_F(ButtonMenus, AChoiceReachesTheButtonsRecordsItsCaptionAndTheMouse) {
  struct Case {
    int control;  // ms_1_btn_key_N
    const char* item;
    uint8_t code;
    bool mirrored;  // mode record 1 takes it too
  };
  const Case cases[] = {
      {4, "ms_1_mute", 71, true},         // buttons 0..9 of modes 0 and 1 go together
      {13, "ms_1_volume_up", 69, false},  // button 12: mode record 0 only
      {2, "ms_1_double_click", 9, true},
  };
  Start("wired");
  QMenu* shown = OpenKeyMenu(5);
  ASSERT_NE(shown, nullptr);
  shown->grab().save(QString::fromStdString(test::paths::ArtifactFolder() + "button_menu.png"));
  if (auto* media = qobject_cast<QMenu*>(shown->findChild<QAction*>("ms_1_mute")->parent())) {
    media->grab().save(
        QString::fromStdString(test::paths::ArtifactFolder() + "button_menu_media.png"));
  }
  shown->close();
  for (const Case& c : cases) {
    const int i = c.control - 1;
    const uint8_t mode1_before = Function(1, i);
    Choose(OpenKeyMenu(c.control), c.item);
    ASSERT_TRUE(test::WaitFor([&] { return Function(0, i) == c.code; })) << c.item;
    EXPECT_EQ(Function(1, i), c.mirrored ? c.code : mode1_before) << c.item;
    EXPECT_EQ(Caption(c.control), Lan().Text(QString::fromLatin1(LabelKeyFor(c.code).data())));
    EXPECT_TRUE(MouseHolds(i, c.code)) << c.item;
  }
  // A name in other letter case still chooses its function; an unknown one
  // chooses the left click.
  OpenKeyMenu(6)->close();
  window->Messages().Post(msg::kMenuClick, 0, 0, QStringLiteral("MS_1_MUTE"));
  EXPECT_TRUE(test::WaitFor([&] { return Function(0, 5) == 71; }));
  window->Messages().Post(msg::kMenuClick, 0, 0, QStringLiteral("ms_1_no_such_item"));
  EXPECT_TRUE(test::WaitFor([&] { return Function(0, 5) == 1; }));
}

TEST_F(ButtonMenus, TheOnlyLeftClickCannotBeTakenAway) {
  Start("wired");
  QString warned;
  test::WhenModal(
      [&](QWidget* modal) {
        auto* box = dynamic_cast<CMsgWnd*>(modal);
        ASSERT_NE(box, nullptr);
        warned = box->message;
        box->Close(1);
      },
      window.get());
  Choose(OpenKeyMenu(1), "ms_1_menu");
  ASSERT_TRUE(test::WaitFor([&] { return !warned.isEmpty(); }));
  EXPECT_EQ(warned, QStringLiteral("one_click_text"));
  EXPECT_EQ(Function(0, 0), 1);
}

TEST_F(ButtonMenus, AShortcutChosenInItsDialogIsStoredShownAndSent) {
  test::ScopedEnv env;
  env.Clear("DISPLAY").Set("XKB_DEFAULT_LAYOUT", "us").Clear("XKB_DEFAULT_VARIANT");
  Start("wired");
  struct Case {
    bool confirm;
    std::vector<int> boxes;
    int key;  // a letter typed into the key field; 0: none
    bool stored;
  };
  const Case cases[] = {
      {false, {1}, 'X', false},  // cancelled: nothing changes
      {true, {1}, 0, false},     // modifiers alone: nothing changes
      {true, {1, 2}, 'C', true},
  };
  for (const Case& c : cases) {
    bool answered = false;
    test::WhenModal(
        [&](QWidget* modal) {
          auto* dialog = dynamic_cast<CShortcutWnd*>(modal);
          ASSERT_NE(dialog, nullptr);
          for (int n : c.boxes) {
            auto* box =
                dialog->FindControl<QAbstractButton>(QStringLiteral("check_flag_%1").arg(n));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
          }
          if (c.key != 0) {
            QApplication::setActiveWindow(dialog);  // what a compositor without a seat leaves out
            dialog->FindControl(QStringLiteral("edit_key"))->setFocus();
            QTest::keyClick(dialog->windowHandle(), static_cast<Qt::Key>(c.key));
          }
          answered = true;
          dialog->Close(c.confirm ? 1 : 0);
        },
        window.get());
    Choose(OpenKeyMenu(3), "ms_1_shortcut");
    ASSERT_TRUE(test::WaitFor([&] { return answered; }));
    ASSERT_TRUE(test::WaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(Function(0, 2) == kFunctionShortcut, c.stored) << c.key;
  }
  const ButtonRecord b = ModeOf(Current(), 1).buttons[2];  // mirrored into mode record 1
  EXPECT_EQ(b.shortcut_modifiers, 0x03);
  EXPECT_EQ(b.shortcut_key, 0x06);
  EXPECT_EQ(Caption(3), QStringLiteral("Ctrl+Shift+C"));
  EXPECT_TRUE(test::WaitFor(
      [&] {
        return MouseButton(2) == nlohmann::json{0x11, 0x03, 0x06};
      },
      30000));
  // Made something else and then a shortcut again, it opens without those.
  Choose(OpenKeyMenu(3), "ms_1_click");
  std::optional<std::array<uint8_t, 4>> opened;
  test::WhenModal([&](QWidget* modal) {
    opened = dynamic_cast<CShortcutWnd*>(modal)->modifier_flags;
    dynamic_cast<CShortcutWnd*>(modal)->Close(0);
  });
  Choose(OpenKeyMenu(3), "ms_1_shortcut");
  ASSERT_TRUE(test::WaitFor([&] { return opened.has_value(); }));
  EXPECT_EQ(*opened, (std::array<uint8_t, 4>{}));
}

// A macro recorded in the editor, chosen for a button from its menu, reaches
// the mouse as the report the encoder makes of its steps; deleting it in the
// editor gives the button its default function back, on the mouse too.
TEST_F(ButtonMenus, ARecordedMacroOnAButtonReachesTheMouseUntilItIsDeleted) {
  Start("wired");
  InMacroEditor([](CMS_1_Macro* editor) {
    auto* record = editor->FindControl<QAbstractButton>(QStringLiteral("ms_1_macro_record_btn"));
    record->click();                         // no macro yet: one is added and recorded into
    QApplication::setActiveWindow(nullptr);  // typed into another program, seen by the hook
    const Ms1WindowHandle target = editor->MessageHandle();
    for (const auto& [key, released] : {std::pair{'Q', 0}, {'Q', 1}, {'W', 0}, {'W', 1}}) {
      target.post(target.context, MS1_HOOK_EVENT_MESSAGE, key, released);
    }
    ASSERT_TRUE(test::WaitFor([&] { return editor->Model()->Buffer().action_count == 4; }));
    record->click();
  });
  bool chosen = false;
  test::WhenModal(
      [&](QWidget* modal) {
        auto* dialog = dynamic_cast<CMS_1_SelectMacro*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->FindControl<QListWidget>(QStringLiteral("list_macro"))->setCurrentRow(0);
        QTest::mouseClick(dialog->FindControl(QStringLiteral("btn_ok")), Qt::LeftButton);
        chosen = true;
      },
      window.get());
  Choose(OpenKeyMenu(2), "ms_1_select_macro");
  ASSERT_TRUE(test::WaitFor([&] { return chosen && Function(0, 1) == kFunctionMacro; }));
  const ButtonRecord button = ModeOf(Current(), 0).buttons[1];
  ASSERT_EQ(button.macro_action_count, 4);
  const auto mouse_holds_the_macro = [&] {
    const nlohmann::json state = sim->State();
    for (const auto& [number, report] : state["macros"].items()) {
      const Report expected = EncodeMacroReport(static_cast<uint8_t>(std::stoi(number)), button);
      if (report["raw"] == vmouse::ToHex(expected)) return true;
    }
    return false;
  };
  EXPECT_TRUE(test::WaitFor(mouse_holds_the_macro, 30000));

  InMacroEditor(test::DeleteFirstMacro);
  const uint8_t default_code = kDefaultButtonFunctions[1];
  EXPECT_EQ(Function(0, 1), default_code);
  EXPECT_EQ(Function(1, 1), default_code);
  EXPECT_TRUE(MouseHolds(1, default_code));
  EXPECT_TRUE(
      test::WaitFor([&] { return Stored().modes[1].buttons[1].function_code == default_code; }));
}

}  // namespace
}  // namespace ms1
