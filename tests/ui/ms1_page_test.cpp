// The device page in the real main window, on the real skin, against the
// virtual mouse: links at start and later, edits reaching the mouse, the
// mouse's own buttons reaching the page, and the profile list.
#include "ui/ms1_page.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_wnd.h"
#include "device/messages.h"
#include "device_page_fixture.h"
#include "dialogs/msg_wnd.h"
#include "macro/macro_editor_window.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "page_dialog_answers.h"
#include "platform/language.h"
#include "platform/notification_pump.h"
#include "platform/resource_text.h"
#include "support/event_counter.h"
#include "support/qt_wait.h"
#include "support/scoped_env.h"
#include "support/wheel.h"

namespace ms1 {
namespace {

using test::DevicePageTest;

TEST_F(DevicePageTest, WithoutAMouseTheWindowMinimisesAndTheFirstProfileIsCreated) {
  Start("");
  EXPECT_FALSE(page->DevicePresent());
  EXPECT_TRUE(test::WaitFor([&] { return window->isMinimized(); }));
  EXPECT_TRUE(Shown("ms_1_sleep_label"));
  for (const char* icon : {"ms_1_wired", "ms_1_wireless", "ms_1_BLE"}) EXPECT_FALSE(Shown(icon));
  EXPECT_FALSE(Shown("ms_1_check_power_setting"));
  EXPECT_FALSE(Shown("ms_1_ver_power_setting"));

  auto* list = Control<QListWidget>("ms_1_list_profile");
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), Lan().Text(QStringLiteral("add_profile_text")) + "1");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(QFile::exists(data.filePath("ms_1/pro.data")));

  // Edits without a link stay in memory: the worker drops the request. Once
  // work posted after the click has run, the request has reached the worker,
  // and the page's shutdown lets the worker finish whatever reached it.
  ClickApply();
  bool passedOn = false;
  window->Messages().PostWork([&passedOn] { passedOn = true; });
  ASSERT_TRUE(test::WaitFor([&] { return passedOn; }));
  window.reset();
  EXPECT_EQ(Accepted(), 0);
}

TEST_F(DevicePageTest, CableAtStartShowsChargingAndTheProfile) {
  Start("wired");
  EXPECT_TRUE(page->DevicePresent());
  EXPECT_FALSE(window->isMinimized());
  EXPECT_TRUE(Shown("ms_1_wired"));
  EXPECT_FALSE(Shown("ms_1_sleep_label"));
  auto* label = Control<QLabel>("ms_1_label_power");
  EXPECT_EQ(label->text(), Lan().Text(QStringLiteral("charging_text")));
  auto* ring = Control<QProgressBar>("ms_1_progress_power");
  EXPECT_TRUE(window->ControlTimers()->IsTimerActive(ring, timer::kChargeAnimation));
  const int before = ring->value();
  EXPECT_TRUE(test::WaitFor([&] { return ring->value() != before; }));

  // The page shows the active mode record of the stored profile.
  const ModeRecord mode = ModeOf(Current(), ActiveModeIndex(Current()));
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(Control<QLabel>("ms_1_label_dpi_", n)->text(),
              mode.dpi_enabled[n - 1] == 1 ? QString::number(mode.dpi_value[n - 1] * 40)
                                           : QStringLiteral("Off"));
  }
  EXPECT_TRUE(Control<QAbstractButton>("ms_1_option_dpi_step_", mode.dpi_level + 1)->isChecked());
  EXPECT_EQ(Control<QComboBox>("ms_1_combo_light")->currentIndex(), mode.light_effect);
  EXPECT_TRUE(Shown("ms_1_check_prate"));
  EXPECT_TRUE(Shown("ms_1_check_power"));
  // Every key button names its function; the first is the left click.
  EXPECT_EQ(Control<QAbstractButton>("ms_1_btn_key_1")->text(),
            Lan().Text(QStringLiteral("left_click_text")));
  for (int n = 1; n <= 18; ++n) {
    EXPECT_FALSE(Control<QAbstractButton>("ms_1_btn_key_", n)->text().isEmpty()) << n;
  }
}

TEST_F(DevicePageTest, ModeSwitchSendsTheWholeProfileFirstAndThenOnlyWhatChanged) {
  Start("wired");
  test::EventCounter shows(QEvent::ShowToParent);  // the ring shows only while an apply runs
  shows.Watch(Control("apply_ring"));
  Click("ms_1_option_button_mode_2");
  EXPECT_EQ(Current().active_mode, 1);
  EXPECT_TRUE(test::WaitFor([&] { return shows.counts[Control("apply_ring")] > 0; }))
      << "busy while sending";
  // The first apply after loading sends everything (12 reports here). The
  // store has the edit at once, the mouse once the apply has ended.
  ASSERT_TRUE(test::WaitFor([&] { return StoredActiveMode() == 1; }, 30000));
  EXPECT_TRUE(test::WaitFor([&] { return !Shown("apply_ring") && Accepted() == 12; }, 30000));
  EXPECT_EQ(sim->State()["active_mode"], 1);
  const int full = Accepted();
  EXPECT_EQ(full, 12);

  Click("ms_1_option_button_mode_1");
  ASSERT_TRUE(test::WaitFor([&] { return StoredActiveMode() == 0; }, 30000));
  EXPECT_TRUE(test::WaitFor([&] { return sim->State()["active_mode"] == 0; }, 30000));
  EXPECT_LT(Accepted() - full, 4) << "a mode switch sends only the mode selection";
}

TEST_F(DevicePageTest, SliderEditsShowAtOnceAndAreSentAfterTheDebounce) {
  Start("wired");
  auto* slider = Control<QSlider>("ms_1_slider_dpi_2");
  slider->setValue(20);
  EXPECT_EQ(Control<QLabel>("ms_1_label_dpi_2")->text(), QStringLiteral("800"));
  for (const ModeRecord& m : Current().modes) EXPECT_EQ(m.dpi_value[1], 20);
  EXPECT_TRUE(page->apply_debounce().isActive());
  EXPECT_EQ(page->apply_debounce().interval(), 500);
  EXPECT_EQ(Accepted(), 0);

  auto* sleep = Control<QSlider>("ms_1_slider_sleep_timer");
  sleep->setValue(3);
  EXPECT_EQ(Control<QLabel>("ms_1_label_sleep_timer")->text(),
            Lan().Text(QStringLiteral("sleep_timer_1_text")) + "1.5 " +
                Lan().Text(QStringLiteral("sleep_timer_2_text")));

  ASSERT_TRUE(test::WaitFor([&] { return Accepted() > 0; }, 30000));
  EXPECT_FALSE(page->apply_debounce().isActive());
}

TEST_F(DevicePageTest, LightingEffectPicksItsRowAndSectionBoxesSendNothing) {
  Start("wired");
  auto* combo = Control<QComboBox>("ms_1_combo_light");
  const struct {
    int effect;
    bool brightness, speed;
  } cases[] = {{1, true, false}, {2, false, true}, {11, false, true}, {0, false, false}};
  for (const auto& c : cases) {
    combo->setCurrentIndex(c.effect);
    EXPECT_EQ(Shown("ms_1_hor_brightness"), c.brightness) << c.effect;
    EXPECT_EQ(Shown("ms_1_hor_breathspeed"), c.speed) << c.effect;
    EXPECT_FALSE(Shown("ms_1_hor_light_color")) << c.effect;
    for (const ModeRecord& m : Current().modes) EXPECT_EQ(m.light_effect, c.effect);
  }
  EXPECT_EQ(page->apply_debounce().interval(), 200);
  page->apply_debounce().stop();

  auto* check = Control<QCheckBox>("ms_1_check_dpi");
  ASSERT_TRUE(check->isChecked());
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
  EXPECT_FALSE(Shown("ms_1_hor_dpi"));
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
  EXPECT_TRUE(Shown("ms_1_hor_dpi"));
  EXPECT_FALSE(page->apply_debounce().isActive());
}

TEST_F(DevicePageTest, TheWheelScrollsTheSettingsInsteadOfChangingSlidersAndTheEffect) {
  Start("wired");
  auto* scroll = Control<QScrollArea>("settings_scroll");
  ASSERT_NE(scroll, nullptr);
  ASSERT_GT(scroll->verticalScrollBar()->maximum(), 0) << "the settings column must scroll";
  auto* slider = Control<QSlider>("ms_1_slider_dpi_2");
  auto* combo = Control<QComboBox>("ms_1_combo_light");
  const int dpi = slider->value();
  const int effect = combo->currentIndex();
  scroll->setFocus();
  for (QWidget* control : {static_cast<QWidget*>(slider), static_cast<QWidget*>(combo)}) {
    scroll->verticalScrollBar()->setValue(0);
    test::TurnWheelOver(control);
    EXPECT_GT(scroll->verticalScrollBar()->value(), 0) << control->objectName().toStdString();
  }
  EXPECT_EQ(slider->value(), dpi);
  EXPECT_EQ(combo->currentIndex(), effect);
  EXPECT_FALSE(page->apply_debounce().isActive()) << "nothing to send";

  slider->setFocus();
  test::TurnWheelOver(slider);
  EXPECT_NE(slider->value(), dpi) << "with focus the wheel moves the slider";
  EXPECT_TRUE(page->apply_debounce().isActive());
}

TEST_F(DevicePageTest, MouseAttributeSaysSoWhenNoDesktopSettingsToolIsInstalled) {
  Start("wired");
  QTemporaryDir empty;
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", empty.path().toLocal8Bit());  // no settings program anywhere
  test::Seen told;
  test::AnswerBox(true, told);
  Control<QAbstractButton>("ms_1_btn_mouse_attribute")->click();
  qputenv("PATH", path);
  EXPECT_EQ(told.message, QStringLiteral("no_mouse_settings_text"));
}

TEST_F(DevicePageTest, ChoosingAnotherProfileShowsItAndSendsItWhole) {
  ProfileList profiles;
  profiles.push_back(CreateProfile(u"Work"));
  profiles.push_back(CreateProfile(u"Games"));
  SetSharedSetting(*profiles[1], SharedSetting::kDpiValue, 50, 0);
  SaveProfiles(profiles);
  Start("wired");
  auto* list = Control<QListWidget>("ms_1_list_profile");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("Games"));
  list->setCurrentRow(1);
  EXPECT_EQ(Control<QLabel>("ms_1_label_dpi_1")->text(), QStringLiteral("2000"));
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() == 12; }, 30000));

  // The store remembers the choice once the apply has ended.
  ASSERT_TRUE(test::WaitFor([&] { return FieldText(Stored().name) == u"Games"; }));
}

// The controls follow the profile shown, also where the page never edits the
// field: a DPI level the mouse has off cannot be chosen or set, and the
// move-mode flag, kept but not offered, is shown as stored.
TEST_F(DevicePageTest, TheControlsShowTheStoredProfileAndOfferOnlyWhatTheMouseDoes) {
  ProfileList profiles;
  profiles.push_back(CreateProfile(u"All levels"));
  profiles.push_back(CreateProfile(u"Four levels"));  // the default: levels 5 to 8 off
  SetSharedSetting(*profiles[0], SharedSetting::kMoveMode, 1);
  for (ModeRecord& mode : profiles[0]->modes) std::fill_n(mode.dpi_enabled, 8, 1);
  SaveProfiles(profiles);
  Start("");
  auto* move_mode = Control<QCheckBox>("ms_1_check_movemode");
  EXPECT_TRUE(move_mode->isHidden());
  for (const int row : {0, 1, 0}) {
    Control<QListWidget>("ms_1_list_profile")->setCurrentRow(row);
    EXPECT_EQ(move_mode->isChecked(), row == 0) << row;
    for (int level = 1; level <= 8; ++level) {
      const bool on = row == 0 || level <= 4;
      EXPECT_EQ(Control("ms_1_option_dpi_step_", level)->isEnabled(), on) << level;
      EXPECT_EQ(Control("ms_1_slider_dpi_", level)->isEnabled(), on) << level;
      EXPECT_EQ(Control<QLabel>("ms_1_label_dpi_", level)->text() == "Off", !on) << level;
    }
  }
}

// Shortcut buttons name their key by what the keyboard layout prints on it.
TEST_F(DevicePageTest, ShortcutCaptionsNameTheKeyOnTheActiveLayout) {
  test::ScopedEnv env;
  env.Clear("DISPLAY").Set("XKB_DEFAULT_LAYOUT", "de").Clear("XKB_DEFAULT_VARIANT");
  ProfileList profiles;
  profiles.push_back(CreateProfile(u"Keys"));
  for (ModeRecord& mode : profiles[0]->modes) {
    mode.buttons[2].function_code = kFunctionShortcut;
    mode.buttons[2].shortcut_modifiers = 0x03;  // Ctrl, Shift
    mode.buttons[2].shortcut_key = 0x1C;        // the US Y key, Z on a German keyboard
    mode.buttons[3].function_code = kFunctionShortcut;
    mode.buttons[3].shortcut_modifiers = 0x01;
    mode.buttons[3].shortcut_key = 0x3E;  // F5
  }
  SaveProfiles(profiles);
  Start("wired");
  const auto caption = [&](const char* name) {
    return Control<QAbstractButton>(name)->property("fullcaption").toString();
  };
  EXPECT_EQ(caption("ms_1_btn_key_3"), QStringLiteral("Ctrl+Shift+Z"));
  EXPECT_EQ(caption("ms_1_btn_key_4"), QStringLiteral("Ctrl+F5"));
}

// After the macro editor closes, the buttons follow the macros: a deleted
// macro's buttons fall back to their default function, a renamed one's keep
// it, and the page shows and sends the change.
TEST_F(DevicePageTest, ClosingTheMacroEditorResynchronisesTheMacroButtons) {
  const auto give = [](ButtonRecord& b, const char16_t* name, int steps) {
    b.function_code = kFunctionMacro;
    SetFieldText(b.macro_name, name);
    b.macro_action_count = static_cast<uint16_t>(steps);
  };
  const std::unique_ptr<ProfileRecord> defaults = CreateProfile(u"Defaults");
  ProfileList profiles;
  profiles.push_back(CreateProfile(u"Macros"));
  for (ModeRecord& mode : profiles[0]->modes) {
    give(mode.buttons[5], u"Gone", 2);
    give(mode.buttons[2], u"Kept", 1);
  }
  MacroList macros;
  for (const char16_t* name : {u"Gone", u"Kept"}) {
    macros.push_back(std::make_unique<MacroRecord>());
    SetFieldText(macros.back()->name, name);
    macros.back()->action_count = 3;
    macros.back()->actions[2] = {0x04, 1, 10};
  }
  SaveProfiles(profiles);
  std::string error;
  ASSERT_TRUE(SaveMacroStore(data.path().toStdString(), macros, error)) << error;
  Start("wired");
  const int accepted_before = Accepted();
  InMacroEditor([](CMS_1_Macro* editor) {
    test::DeleteFirstMacro(editor);
    auto* name = editor->FindControl<QLineEdit>(QStringLiteral("ms_1_macro_name_edit"));
    name->setText(QStringLiteral("Held"));  // "Kept", now the first
    QTest::keyClick(name, Qt::Key_Return);
  });
  for (int mode_index = 0; mode_index < kModeCount; ++mode_index) {
    const ModeRecord& mode = Current().modes[mode_index];
    EXPECT_EQ(mode.buttons[5].function_code, defaults->modes[0].buttons[5].function_code)
        << mode_index;
    EXPECT_EQ(mode.buttons[5].macro_name[0], u'\0') << mode_index;
    EXPECT_EQ(FieldText(mode.buttons[2].macro_name), u"Held") << mode_index;
    EXPECT_EQ(mode.buttons[2].macro_action_count, 3) << mode_index;
    EXPECT_EQ(mode.buttons[2].macro_actions[2].key, 0x04) << mode_index;
  }
  EXPECT_NE(Control<QAbstractButton>("ms_1_btn_key_6")->text(),
            Lan().Text(QStringLiteral("macro_caption_text")).arg(QStringLiteral("Gone")));
  // The change is on disk at once, and the apply that follows sends it.
  ASSERT_TRUE(test::WaitFor([&] { return Stored().modes[0].buttons[5].macro_name[0] == 0; }));
  EXPECT_TRUE(test::WaitFor([&] { return Accepted() > accepted_before; }, 30000));
}

// The wireless mouse asleep: the edit is kept on disk, survives a restart
// of the program, and reaches the mouse as soon as it reports itself awake.
TEST_F(DevicePageTest, AnEditMadeWhileTheMouseSleepsReachesItWhenItWakes) {
  Start("receiver");
  ASSERT_EQ(page->links().mouseAsleep, 1);
  Control<QSlider>("ms_1_slider_brightness")->setValue(3);
  ASSERT_TRUE(test::WaitFor([&] { return Stored().modes[0].light_brightness == 3; }, 30000));
  EXPECT_EQ(Accepted(), 0);

  Restart();
  ASSERT_TRUE(Steer("wake"));
  ASSERT_TRUE(test::WaitFor([&] { return MouseLighting(1).is_object(); }, 60000));
  EXPECT_EQ(MouseLighting(0)["brightness"], 3);
  EXPECT_EQ(MouseLighting(1)["brightness"], 3);
}

// An edit reaches the disk when it is made, with or without a mouse to send
// it to, and one still in its debounce when the program ends is kept.
TEST_F(DevicePageTest, AnEditIsOnDiskAtOnceAndQuittingDuringItsDebounceKeepsIt) {
  for (const std::string plugged : {"", "wired"}) {
    Start(plugged);
    Click("ms_1_option_button_mode_2");
    EXPECT_TRUE(test::WaitFor([&] { return StoredActiveMode() == 1; }, 30000)) << plugged;

    const int32_t brightness = Current().modes[0].light_brightness == 4 ? 3 : 4;
    Control<QSlider>("ms_1_slider_brightness")->setValue(brightness);
    ASSERT_TRUE(page->apply_debounce().isActive());
    Restart();
    EXPECT_EQ(Current().modes[0].light_brightness, brightness) << plugged;
    EXPECT_EQ(Current().active_mode, 1) << plugged;
    TearDown();  // the next case starts a program of its own
  }
}

// A report the mouse refused is not taken for sent: the next apply, even
// without an edit, sends the whole profile again.
TEST_F(DevicePageTest, AReportTheMouseRefusedIsSentAgainByTheNextApply) {
  Start("wired");
  ClickApply();
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() == 12; }, 30000));
  ASSERT_TRUE(Steer("refuse 2"));  // the mode selection and mode 1's lighting
  Control<QSlider>("ms_1_slider_brightness")->setValue(2);
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() == 12 + 2; }, 30000));
  EXPECT_NE(MouseLighting(0)["brightness"], 2);
  ASSERT_TRUE(test::WaitFor([&] { return !Shown("apply_ring"); }));

  ClickApply();
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() == 14 + 12; }, 30000));
  EXPECT_EQ(MouseLighting(0)["brightness"], 2);
}

// The DPI button pressed while an apply goes out: the level is the mouse's
// already, so the next apply sends only the mode selection.
TEST_F(DevicePageTest, ADpiPressDuringAnApplyIsNotSentBack) {
  Start("wired");
  ClickApply();
  // After both settings reports (the 2nd and 6th of 12) have gone.
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() >= 7; }, 30000));
  ASSERT_TRUE(Steer("press dpi 3"));
  ASSERT_TRUE(test::WaitFor([&] { return Current().modes[0].dpi_level == 2; }));
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() == 12 && !Shown("apply_ring"); }, 30000));

  ClickApply();
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() >= 14; }, 30000));
  ASSERT_TRUE(test::WaitFor([&] { return !Shown("apply_ring"); }));
  EXPECT_EQ(Accepted(), 14) << "only the two mode selections";
}

// A damaged store is kept aside and the user hears of it once, with the
// name of the file that was kept.
TEST_F(DevicePageTest, ADamagedStoreIsKeptAsideAndTheUserIsTold) {
  QDir(data.path()).mkpath(QStringLiteral("ms_1"));
  QFile store(data.filePath(QStringLiteral("ms_1/pro.data")));
  ASSERT_TRUE(store.open(QIODevice::WriteOnly));
  store.write("not a profile store");
  store.close();
  QStringList told;
  test::WhenModal([&](QWidget* modal) {
    auto* box = dynamic_cast<CMsgWnd*>(modal);
    ASSERT_NE(box, nullptr);
    told << ControlText(box->FindControl(QStringLiteral("warning")));
    QTest::mouseClick(box->FindControl(QStringLiteral("btn_ok")), Qt::LeftButton);
  });
  Start("wired");
  ASSERT_TRUE(test::WaitFor([&] { return !told.isEmpty(); }));
  EXPECT_TRUE(told[0].contains(data.filePath(QStringLiteral("ms_1/pro.data.damaged"))))
      << told[0].toStdString();
  EXPECT_TRUE(QFile::exists(data.filePath(QStringLiteral("ms_1/pro.data.damaged"))));
  EXPECT_EQ(Control<QListWidget>("ms_1_list_profile")->count(), 1);
}

}  // namespace
}  // namespace ms1
