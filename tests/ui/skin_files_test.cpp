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

// Controls by the kind the windows use them as; "name_%1*N" stands for name_1
// to name_N.
using KindTable = std::vector<std::pair<Kind, std::vector<const char*>>>;

// The device page's controls, bound by name when the page starts, and the
// main window's own.
const KindTable kMainControls = {
    {Kind::kButton,
     {"ms_1_btn_key_%1*18", "ms_1_btn_macro", "ms_1_profile_add_btn", "ms_1_profile_delete_btn",
      "ms_1_profile_rename_btn", "ms_1_profile_import_btn", "ms_1_profile_export_btn",
      "ms_1_profile_reset_btn", "ms_1_btn_dpi_color_%1*8", "ms_1_btn_light_color",
      "ms_1_btn_mouse_attribute", "ms_1_apply_btn", "skin_btn", "main_menu_btn", "min_btn",
      "exit_btn"}},
    {Kind::kOption,
     {"ms_1_option_button_mode_%1*2", "ms_1_option_dpi_step_%1*8", "ms_1_btn_prate_%1*4"}},
    {Kind::kCheck,
     {"ms_1_check_button", "ms_1_check_profile", "ms_1_check_power", "ms_1_check_dpi",
      "ms_1_check_light", "ms_1_check_prate", "ms_1_check_mouse_attribute",
      "ms_1_check_power_setting", "ms_1_check_movemode"}},
    {Kind::kContainer,
     {"ms_1_hor_button", "ms_1_ver_profile", "ms_1_ver_power", "ms_1_hor_dpi", "ms_1_ver_light",
      "ms_1_ver_prate", "ms_1_ver_mouse_attribute", "ms_1_ver_power_setting", "ms_1_hor_brightness",
      "ms_1_hor_breathspeed", "ms_1_hor_light_color"}},
    {Kind::kSlider,
     {"ms_1_slider_dpi_%1*8", "ms_1_slider_brightness", "ms_1_slider_breathspeed",
      "ms_1_slider_sleep_timer"}},
    {Kind::kLabel,
     {"ms_1_label_dpi_%1*8", "ms_1_label_prate", "ms_1_label_sleep_timer", "ms_1_label_power",
      "ms_1_low_power_label", "ms_1_sleep_label"}},
    {Kind::kList, {"ms_1_list_profile"}},
    {Kind::kCombo, {"ms_1_combo_light"}},
    {Kind::kProgress, {"ms_1_progress_power", "apply_progress"}},
    {Kind::kAny,
     {"ms_1_key_control_%1*18", "ms_1_wired", "ms_1_wireless", "ms_1_BLE", "device_tab_switch"}},
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

// Every control of the table in the window, of its kind; how many there were.
int ExpectControlsOfTheirKinds(FormWindow& window, const KindTable& table) {
  int checked = 0;
  for (const auto& [kind, patterns] : table) {
    for (const char* pattern : patterns) {
      const QStringList parts = QString::fromLatin1(pattern).split(u'*');
      for (int n = 1; n <= (parts.size() > 1 ? parts[1].toInt() : 1); ++n) {
        const QString name = parts.size() > 1 ? parts[0].arg(n) : parts[0];
        QWidget* control = window.FindControl(name);
        ++checked;
        EXPECT_NE(control, nullptr) << qPrintable(name);
        if (control == nullptr) continue;
        EXPECT_TRUE(IsKind(control, kind))
            << qPrintable(name) << " is a " << control->metaObject()->className();
      }
    }
  }
  return checked;
}

TEST(MainSkin, HasEveryControlTheWindowAndThePageBindOfTheRightKind) {
  FormWindow window(QStringLiteral("main.xml"));
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(window.size(), QSize(800, 572));
  EXPECT_EQ(ExpectControlsOfTheirKinds(window, kMainControls), 124);
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
  for (const char* file :
       {"main.xml", "msg.xml", "MS/MS_1/profilename.xml", "shortcut.xml", "DpiColorDialog.xml",
        "MS/MS_1/selectmacro.xml", "MS/MS_1/ms_1_macropage.xml"}) {
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

// The controls each small window binds by name. Those of the message box and
// the DPI indicator, the colour swatches and the macro page's below are
// checked where their windows' tests look them up.
TEST(SmallSkins, ProvideTheControlsOfTheirWindows) {
  const std::pair<const char*, const char*> forms[] = {
      {"MS/MS_1/profilename.xml", "btn_ok btn_cancel btn_exit title_string edit_name"},
      {"DpiColorDialog.xml",
       "confirm_btn cancel_btn color_show_control ColorPallet r_edit g_edit b_edit"},
      {"MS/MS_1/selectmacro.xml",
       "btn_ok btn_cancel btn_exit list_macro hor_loop_time edit_loop_time repeat_1 repeat_2 "
       "repeat_3"},
      {"keylistitem.xml", "key action delay"},
      {"MS/MS_1/ms_1_macropage.xml",
       "btn_exit ms_1_macro_name_edit ms_1_macro_delete_btn ms_1_macro_key1_btn "
       "ms_1_macro_key2_btn ms_1_macro_key3_btn ms_1_macro_key4_btn ms_1_macro_key5_btn "
       "ms_1_default_delay_edit ms_1_macro_up_btn ms_1_macro_down_btn "
       "ms_1_macro_delete_action_btn ms_1_macro_clear_action_btn ms_1_macro_action_edit "
       "ms_1_macro_delay_edit ms_1_macro_mouseaction_delay_edit ms_1_macro_save_btn "
       "ms_1_macro_cancel_btn ms_1_macro_import_btn ms_1_macro_export_btn macro_capture_note"},
  };
  for (const auto& [file, names] : forms) {
    FormWindow window{QString::fromLatin1(file)};
    ASSERT_TRUE(window.Create()) << file;
    for (const QString& name : QString::fromLatin1(names).split(u' ')) {
      EXPECT_NE(window.FindControl(name), nullptr) << file << ": " << qPrintable(name);
    }
  }
}

TEST(MacroSkin, ControlsAreOfTheKindsTheEditorUses) {
  FormWindow window(QStringLiteral("MS/MS_1/ms_1_macropage.xml"));
  ASSERT_TRUE(window.Create());
  ExpectControlsOfTheirKinds(
      window,
      {{Kind::kCheck,
        {"ms_1_macro_record_btn", "ms_1_macro_insert_mouse_btn", "ms_1_macro_action_edit_check"}},
       {Kind::kOption, {"ms_1_record_delay_btn", "ms_1_default_delay_btn", "ms_1_no_delay_btn"}},
       {Kind::kList, {"ms_1_macro_list", "ms_1_macro_action_list"}},
       {Kind::kCombo, {"ms_1_macro_mouse_action_combo"}},
       {Kind::kContainer, {"ms_1_macro_name_tab", "ms_1_macro_mouse_event_tab"}},
       {Kind::kButton, {"ms_1_macro_add_btn"}}});
  // Pages: empty, keyboard step, mouse step; buttons: left, right, middle, forward, back.
  auto* pages = window.FindControl<QStackedWidget>(QStringLiteral("ms_1_macro_action_edit_tab"));
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 3);
  EXPECT_TRUE(
      pages->widget(1)->isAncestorOf(window.FindControl(QStringLiteral("ms_1_macro_action_edit"))));
  EXPECT_TRUE(pages->widget(2)->isAncestorOf(
      window.FindControl(QStringLiteral("ms_1_macro_mouse_action_combo"))));
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
  for (const char* folder :
       {"app", "ui", "platform", "model", "device", "macro", "keys", "dialogs"}) {
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

// The step list's press and release texts, whose keys the scan of the sources
// does not take for language keys.
TEST(LanguageFile, HasTheStepActionKeysAndKeepsTrailingBlanks) {
  for (const char* key : {"key_down_action", "key_up_action"}) {
    EXPECT_TRUE(Lan().Contains(QString::fromLatin1(key))) << key;
  }
  // Texts that are followed directly by a number keep their trailing blank.
  EXPECT_TRUE(Lan().Text(QStringLiteral("add_profile_text")).endsWith(u' '));
}

}  // namespace
}  // namespace ms1
