// The skin folder against what the program relies on: every control name the
// windows bind, of the kind they use it as, and a language text for every key.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QXmlStreamReader>
#include <set>

#include "model/function_table.h"
#include "platform/language.h"
#include "platform/skin.h"
#include "support/form_window.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using test::FormWindow;

enum class Kind {
  kButton,
  kOption,
  kCheck,
  kSlider,
  kLabel,
  kList,
  kCombo,
  kContainer,
  kProgress,
  kAny
};

struct Expected {
  const char* name;
  int count;  // > 1: the name holds %d, numbered from 1
  Kind kind;
};

// The device page's controls, bound by name when the page starts.
constexpr Expected kPageControls[] = {
    {"ms_1_btn_key_%d", 18, Kind::kButton},
    {"ms_1_key_control_%d", 18, Kind::kAny},
    {"ms_1_option_button_mode_%d", 2, Kind::kOption},
    {"ms_1_btn_macro", 1, Kind::kButton},
    {"ms_1_list_profile", 1, Kind::kList},
    {"ms_1_profile_add_btn", 1, Kind::kButton},
    {"ms_1_profile_delete_btn", 1, Kind::kButton},
    {"ms_1_profile_rename_btn", 1, Kind::kButton},
    {"ms_1_profile_import_btn", 1, Kind::kButton},
    {"ms_1_profile_export_btn", 1, Kind::kButton},
    {"ms_1_profile_reset_btn", 1, Kind::kButton},
    {"ms_1_wired", 1, Kind::kAny},
    {"ms_1_wireless", 1, Kind::kAny},
    {"ms_1_BLE", 1, Kind::kAny},
    {"ms_1_check_button", 1, Kind::kCheck},
    {"ms_1_check_profile", 1, Kind::kCheck},
    {"ms_1_check_power", 1, Kind::kCheck},
    {"ms_1_hor_button", 1, Kind::kContainer},
    {"ms_1_ver_profile", 1, Kind::kContainer},
    {"ms_1_ver_power", 1, Kind::kContainer},
    {"ms_1_check_dpi", 1, Kind::kCheck},
    {"ms_1_check_light", 1, Kind::kCheck},
    {"ms_1_check_prate", 1, Kind::kCheck},
    {"ms_1_check_mouse_attribute", 1, Kind::kCheck},
    {"ms_1_check_power_setting", 1, Kind::kCheck},
    {"ms_1_hor_dpi", 1, Kind::kContainer},
    {"ms_1_ver_light", 1, Kind::kContainer},
    {"ms_1_ver_prate", 1, Kind::kContainer},
    {"ms_1_ver_mouse_attribute", 1, Kind::kContainer},
    {"ms_1_ver_power_setting", 1, Kind::kContainer},
    {"ms_1_slider_dpi_%d", 8, Kind::kSlider},
    {"ms_1_label_dpi_%d", 8, Kind::kLabel},
    {"ms_1_option_dpi_step_%d", 8, Kind::kOption},
    {"ms_1_btn_dpi_color_%d", 8, Kind::kButton},
    {"ms_1_combo_light", 1, Kind::kCombo},
    {"ms_1_hor_brightness", 1, Kind::kContainer},
    {"ms_1_slider_brightness", 1, Kind::kSlider},
    {"ms_1_hor_breathspeed", 1, Kind::kContainer},
    {"ms_1_slider_breathspeed", 1, Kind::kSlider},
    {"ms_1_hor_light_color", 1, Kind::kContainer},
    {"ms_1_btn_light_color", 1, Kind::kButton},
    {"ms_1_btn_prate_%d", 4, Kind::kOption},
    {"ms_1_label_prate", 1, Kind::kLabel},
    {"ms_1_btn_mouse_attribute", 1, Kind::kButton},
    {"ms_1_slider_sleep_timer", 1, Kind::kSlider},
    {"ms_1_label_sleep_timer", 1, Kind::kLabel},
    {"ms_1_check_movemode", 1, Kind::kCheck},
    {"ms_1_apply_btn", 1, Kind::kButton},
    {"ms_1_progress_power", 1, Kind::kProgress},
    {"ms_1_label_power", 1, Kind::kLabel},
    {"ms_1_low_power_label", 1, Kind::kLabel},
    {"ms_1_sleep_label", 1, Kind::kLabel},
    // The main window's own.
    {"skin_btn", 1, Kind::kButton},
    {"main_menu_btn", 1, Kind::kButton},
    {"min_btn", 1, Kind::kButton},
    {"exit_btn", 1, Kind::kButton},
    {"apply_progress", 1, Kind::kProgress},
    {"device_tab_switch", 1, Kind::kAny},
};

bool IsKind(QWidget* w, Kind kind) {
  auto* button = qobject_cast<QAbstractButton*>(w);
  switch (kind) {
    case Kind::kButton:
      return qobject_cast<QPushButton*>(w) != nullptr && !button->isCheckable();
    case Kind::kOption:
      return button != nullptr && qobject_cast<QCheckBox*>(w) == nullptr &&
             (qobject_cast<QRadioButton*>(w) != nullptr ||
              (button->isCheckable() && button->autoExclusive()));
    case Kind::kCheck:
      return qobject_cast<QCheckBox*>(w) != nullptr;
    case Kind::kSlider:
      return qobject_cast<QAbstractSlider*>(w) != nullptr;
    case Kind::kLabel:
      return qobject_cast<QLabel*>(w) != nullptr;
    case Kind::kList:
      return qobject_cast<QListWidget*>(w) != nullptr;
    case Kind::kCombo:
      return qobject_cast<QComboBox*>(w) != nullptr;
    case Kind::kContainer:
      return w->layout() != nullptr;
    case Kind::kProgress:
      return qobject_cast<QProgressBar*>(w) != nullptr;
    case Kind::kAny:
      return true;
  }
  return false;
}

TEST(MainSkin, HasEveryControlTheWindowAndThePageBindOfTheRightKind) {
  FormWindow window(QStringLiteral("main.xml"));
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(window.size(), QSize(800, 572));
  int checked = 0;
  for (const Expected& e : kPageControls) {
    for (int n = 1; n <= e.count; ++n) {
      const QString name = e.count > 1 ? QString::asprintf(e.name, n) : QString::fromLatin1(e.name);
      QWidget* control = window.FindControl(name);
      ASSERT_NE(control, nullptr) << qPrintable(name);
      EXPECT_TRUE(IsKind(control, e.kind))
          << qPrintable(name) << " is a " << control->metaObject()->className();
      ++checked;
    }
  }
  EXPECT_EQ(checked, 124);
  // Options of one group exclude each other; the groups do not interfere.
  auto* mode2 = window.FindControl<QAbstractButton>(QStringLiteral("ms_1_option_button_mode_2"));
  auto* rate3 = window.FindControl<QAbstractButton>(QStringLiteral("ms_1_btn_prate_3"));
  auto* step5 = window.FindControl<QAbstractButton>(QStringLiteral("ms_1_option_dpi_step_5"));
  mode2->setChecked(true);
  rate3->setChecked(true);
  step5->setChecked(true);
  EXPECT_TRUE(mode2->isChecked() && rate3->isChecked() && step5->isChecked());
  EXPECT_FALSE(window.FindControl<QAbstractButton>(QStringLiteral("ms_1_option_button_mode_1"))
                   ->isChecked());
  // Item 0 is the device page; the last item is what shows without a device.
  auto* tabs = window.FindControl<QStackedWidget>(QStringLiteral("device_tab_switch"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_GE(tabs->count(), 2);
  EXPECT_TRUE(tabs->widget(0)->isAncestorOf(window.FindControl(QStringLiteral("ms_1_apply_btn"))));
}

TEST(MainSkin, RendersDarkWithTheSkinStyleAndSavesAScreenshot) {
  ApplySkinStyle();
  ASSERT_FALSE(qApp->styleSheet().isEmpty());
  EXPECT_FALSE(qApp->styleSheet().contains(QStringLiteral("${SKIN}")));
  FormWindow window(QStringLiteral("main.xml"));
  ASSERT_TRUE(window.Create());
  window.show();
  const QImage shot = window.grab().toImage();
  shot.save(QString::fromStdString(test::paths::ArtifactFolder() + "main_skin.png"));
  // Background and panels are dark; the accent apply button is bright.
  EXPECT_LT(qGray(shot.pixel(400, 560)), 60);
  QWidget* apply = window.FindControl(QStringLiteral("ms_1_apply_btn"));
  const QPoint inApply = apply->mapTo(&window, apply->rect().center() + QPoint(30, 0));
  EXPECT_GT(qGray(shot.pixel(inApply)), 100);
}

// Tab must show where it went: every control that takes the focus looks
// different with it.
TEST(SkinStyle, ShowsTheFocusOnEveryControlThatTakesIt) {
  ApplySkinStyle();
  for (const char* file : {"main.xml", "msg.xml", "MS/MS_1/profilename.xml", "shortcut.xml",
                           "DpiColorDialog.xml", "MS/MS_1/selectmacro.xml",
                           "MS/MS_1/ms_1_macropage.xml"}) {
    FormWindow window{QString::fromLatin1(file)};
    ASSERT_TRUE(window.Create()) << file;
    window.show();
    QApplication::setActiveWindow(&window);
    int focusable = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
      if ((control->focusPolicy() & Qt::TabFocus) == 0 || !control->isVisibleTo(&window) ||
          !control->isEnabled()) {
        continue;
      }
      ++focusable;
      window.setFocus();
      const QImage without = control->grab().toImage();
      control->setFocus(Qt::TabFocusReason);
      EXPECT_NE(control->grab().toImage(), without)
          << file << ": " << qPrintable(control->objectName());
    }
    EXPECT_GT(focusable, 0) << file;
  }
}

TEST(MainSkin, LightingEffectsAreTranslatedItems) {
  FormWindow window(QStringLiteral("main.xml"));
  ASSERT_TRUE(window.Create());
  auto* combo = window.FindControl<QComboBox>(QStringLiteral("ms_1_combo_light"));
  ASSERT_GE(combo->count(), 12);
  for (int i = 0; i < combo->count(); ++i) {
    EXPECT_TRUE(Lan().Contains(combo->itemData(i).toString())) << i;
    EXPECT_FALSE(combo->itemText(i).endsWith(QStringLiteral("_text"))) << i;
  }
}

TEST(SmallSkins, ProvideTheControlsOfTheirWindows) {
  const std::pair<const char*, std::vector<const char*>> forms[] = {
      {"msg.xml", {"btn_ok", "btn_cancel", "warning_title", "warning"}},
      {"MS/MS_1/profilename.xml",
       {"btn_ok", "btn_cancel", "btn_exit", "title_string", "edit_name"}},
      {"DPImsg.xml", {"dpi_label"}},
      {"DpiColorDialog.xml",
       {"confirm_btn", "cancel_btn", "color_show_control", "ColorPallet", "r_edit", "g_edit",
        "b_edit", "mouse_dpi_color_1", "mouse_dpi_color_8", "mouse_dpi_color_9",
        "mouse_dpi_color_16"}},
      {"MS/MS_1/selectmacro.xml",
       {"btn_ok", "btn_cancel", "btn_exit", "list_macro", "hor_loop_time", "edit_loop_time",
        "repeat_1", "repeat_2", "repeat_3"}},
      {"keylistitem.xml", {"key", "action", "delay"}},
      {"MS/MS_1/ms_1_macropage.xml",
       {"btn_exit", "ms_1_macro_list", "ms_1_macro_name_edit", "ms_1_macro_add_btn",
        "ms_1_macro_delete_btn", "ms_1_macro_insert_mouse_btn", "ms_1_macro_name_tab",
        "ms_1_macro_mouse_event_tab", "ms_1_macro_key1_btn", "ms_1_macro_key2_btn",
        "ms_1_macro_key3_btn", "ms_1_macro_key4_btn", "ms_1_macro_key5_btn",
        "ms_1_macro_record_btn", "ms_1_record_delay_btn", "ms_1_default_delay_btn",
        "ms_1_no_delay_btn", "ms_1_default_delay_edit", "ms_1_macro_action_list",
        "ms_1_macro_up_btn", "ms_1_macro_down_btn", "ms_1_macro_delete_action_btn",
        "ms_1_macro_clear_action_btn", "ms_1_macro_action_edit_check",
        "ms_1_macro_action_edit_tab", "ms_1_macro_action_edit", "ms_1_macro_delay_edit",
        "ms_1_macro_mouse_action_combo", "ms_1_macro_mouseaction_delay_edit",
        "ms_1_macro_save_btn", "ms_1_macro_cancel_btn", "ms_1_macro_import_btn",
        "ms_1_macro_export_btn", "macro_capture_note"}},
  };
  for (const auto& [file, names] : forms) {
    FormWindow window{QString::fromLatin1(file)};
    ASSERT_TRUE(window.Create()) << file;
    for (const char* name : names) {
      EXPECT_NE(window.FindControl(QString::fromLatin1(name)), nullptr) << file << ": " << name;
    }
  }
}

TEST(MacroSkin, ControlsAreOfTheKindsTheEditorUses) {
  FormWindow window(QStringLiteral("MS/MS_1/ms_1_macropage.xml"));
  ASSERT_TRUE(window.Create());
  const std::pair<const char*, Kind> kinds[] = {
      {"ms_1_macro_record_btn", Kind::kCheck},      {"ms_1_macro_insert_mouse_btn", Kind::kCheck},
      {"ms_1_macro_action_edit_check", Kind::kCheck}, {"ms_1_record_delay_btn", Kind::kOption},
      {"ms_1_default_delay_btn", Kind::kOption},    {"ms_1_no_delay_btn", Kind::kOption},
      {"ms_1_macro_list", Kind::kList},             {"ms_1_macro_action_list", Kind::kList},
      {"ms_1_macro_mouse_action_combo", Kind::kCombo}, {"ms_1_macro_name_tab", Kind::kContainer},
      {"ms_1_macro_mouse_event_tab", Kind::kContainer}, {"ms_1_macro_add_btn", Kind::kButton},
  };
  for (const auto& [name, kind] : kinds) {
    QWidget* control = window.FindControl(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    EXPECT_TRUE(IsKind(control, kind)) << name;
  }
  // Pages: empty, keyboard step, mouse step; buttons: left, right, middle, forward, back.
  auto* pages = window.FindControl<QStackedWidget>(QStringLiteral("ms_1_macro_action_edit_tab"));
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 3);
  EXPECT_TRUE(pages->widget(1)->isAncestorOf(window.FindControl(QStringLiteral("ms_1_macro_action_edit"))));
  EXPECT_TRUE(pages->widget(2)->isAncestorOf(window.FindControl(QStringLiteral("ms_1_macro_mouse_action_combo"))));
  auto* combo = window.FindControl<QComboBox>(QStringLiteral("ms_1_macro_mouse_action_combo"));
  ASSERT_EQ(combo->count(), 5);
  EXPECT_EQ(combo->itemText(3), Lan().Text(QStringLiteral("Forward_Button")));
  EXPECT_EQ(combo->itemText(4), Lan().Text(QStringLiteral("Backward_Button")));
}

// ---- language keys

std::set<QString> KeysInFile(const QString& path, const QRegularExpression& pattern) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
  const QString text = QString::fromUtf8(file.readAll());
  std::set<QString> keys;
  for (const auto& match : pattern.globalMatch(text)) keys.insert(match.captured(1));
  return keys;
}

void ExpectAllInLanguageFile(const std::set<QString>& keys, const QString& where) {
  for (const QString& key : keys) {
    EXPECT_TRUE(Lan().Contains(key)) << qPrintable(key) << " used in " << qPrintable(where);
  }
}

TEST(LanguageFile, HasEveryKeyTheSkinFormsAndMenusUse) {
  const QRegularExpression formKey(QStringLiteral("<string>([a-z0-9_]+_text)</string>"));
  const QRegularExpression menuKey(QStringLiteral("text=\"([a-z0-9_]+_text)\""));
  QDirIterator it(SkinFolder(), {QStringLiteral("*.xml")}, QDir::Files,
                  QDirIterator::Subdirectories);
  int files = 0;
  while (it.hasNext()) {
    const QString path = it.next();
    if (QFileInfo(path).fileName().startsWith(QStringLiteral("lan"))) continue;  // language files
    ++files;
    ExpectAllInLanguageFile(KeysInFile(path, formKey), path);
    ExpectAllInLanguageFile(KeysInFile(path, menuKey), path);
  }
  EXPECT_GE(files, 5);
}

TEST(ButtonMenus, OfferEveryAssignableFunctionAndNothingElse) {
  std::set<QString> assignable;
  for (const FunctionRow& row : FunctionTable()) {
    if (!row.menu_item.empty()) {
      assignable.insert(QString::fromLatin1(row.menu_item.data(), row.menu_item.size()));
    }
  }
  const QRegularExpression item(QStringLiteral("<Item name=\"([^\"]+)\""));
  const std::set<QString> full =
      KeysInFile(SkinFile(QStringLiteral("MS/MS_1/ms_1_menu.xml")), item);
  EXPECT_EQ(full, assignable);
  // The menu of buttons 12..15 lacks only the macro.
  std::set<QString> without_macro = assignable;
  without_macro.erase(QStringLiteral("ms_1_select_macro"));
  EXPECT_EQ(KeysInFile(SkinFile(QStringLiteral("MS/MS_1/ms_1_menu_1.xml")), item), without_macro);
}

TEST(LanguageFile, HasEveryKeyTheProgramsSourcesUse) {
  const QRegularExpression codeKey(QStringLiteral("\"([a-z0-9_]+_text)\""));
  int files = 0;
  for (const char* folder : {"app", "ui", "platform", "model", "device", "macro", "keys"}) {
    QDirIterator it(QString::fromStdString(test::paths::SourceFolder() + folder),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      ++files;
      ExpectAllInLanguageFile(KeysInFile(path, codeKey), path);
    }
  }
  EXPECT_GT(files, 10);
}

TEST(LanguageFile, HasEveryButtonFunctionLabel) {
  int labels = 0;
  for (const FunctionRow& row : FunctionTable()) {
    if (row.label_key.empty()) continue;
    ++labels;
    const QString key = QString::fromUtf8(row.label_key.data(), qsizetype(row.label_key.size()));
    EXPECT_TRUE(Lan().Contains(key)) << qPrintable(key);
  }
  EXPECT_GT(labels, 40);
}

// Keys of the page panels, profile commands, macro editor and key dialogs that
// are not in a source file yet.
TEST(LanguageFile, HasTheKeysOfThePageAndEditorWindows) {
  for (const char* key : {"mouse_name_text",
                          "no_device_text",
                          "warning_title_text",
                          "warn_name_1_text",
                          "warn_name_2_text",
                          "profile_name_1_text",
                          "profile_name_2_text",
                          "add_profile_text",
                          "delete_profile_text",
                          "one_profile_text",
                          "restore_text",
                          "one_click_text",
                          "charging_text",
                          "sleep_timer_1_text",
                          "sleep_timer_2_text",
                          "add_macro_text",
                          "assign_macro_text",
                          "delete_macro_text",
                          "start_recording_text",
                          "stop_recording_text",
                          "key_down_action",
                          "key_up_action",
                          "keyboard_ctrl_text",
                          "keyboard_shift_text",
                          "keyboard_alt_text",
                          "keyboard_win_text",
                          "browser_search_text",
                          "email_text",
                          "calculator_text",
                          "my_computer_text",
                          "store_save_failed_text",
                          "data_folder_held_text",
                          "data_folder_holder_text",
                          "data_folder_holder_unknown_text",
                          "store_changed_kept_text",
                          "configuration_text",
                          "exit_text"}) {
    EXPECT_TRUE(Lan().Contains(QString::fromLatin1(key))) << key;
  }
  // Texts that are followed directly by a number keep their trailing blank.
  EXPECT_TRUE(Lan().Text(QStringLiteral("add_profile_text")).endsWith(u' '));
}

}  // namespace
}  // namespace ms1
