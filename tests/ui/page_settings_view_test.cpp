// Display conversions of the settings panels and opening the desktop's mouse
// settings.
#include "ui/page_settings_view.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "model/text_field.h"
#include "platform/background_color.h"
#include "platform/language.h"
#include "platform/system_mouse_settings.h"
#include "ui/button_text.h"

namespace ms1 {
namespace {

TEST(PageSettingsView, ConvertsDpiSleepAndColoursForDisplay) {
  EXPECT_EQ(DpiLabelText(20), QStringLiteral("800"));
  EXPECT_EQ(DpiLabelText(0), QStringLiteral("0"));
  EXPECT_EQ(DpiLabelText(650), QStringLiteral("26000"));

  const QString before = Lan().Text(QStringLiteral("sleep_timer_1_text"));
  const QString after = Lan().Text(QStringLiteral("sleep_timer_2_text"));
  EXPECT_EQ(SleepLabelText(3), before + "1.5 " + after);
  EXPECT_EQ(SleepLabelText(20), before + "10.0 " + after);

  // Stored as the bytes red, green, blue, 0: little-endian 0x00BBGGRR.
  EXPECT_EQ(ArgbOfStoredColor(0x000000FF), 0xFFFF0000u);  // red
  EXPECT_EQ(ArgbOfStoredColor(0x00FF0000), 0xFF0000FFu);  // blue
  EXPECT_EQ(ArgbOfStoredColor(0x00123456), 0xFF563412u);
  EXPECT_EQ(ArgbOfStoredColor(-1), 0xFFFFFFFFu) << "a foreign top byte is dropped";
  EXPECT_EQ(ArgbOfStoredColor(0x00000000), 0xFF000000u) << "black stays opaque";
  // And back, as a picked colour is stored: the alpha is not kept.
  for (const int32_t stored : {0x000000FF, 0x00123456, 0x00FFFFFF, 0x00000000}) {
    EXPECT_EQ(StoredColorOfArgb(ArgbOfStoredColor(stored)), stored);
  }
  EXPECT_EQ(StoredColorOfArgb(0x80563412u), 0x00123456);

  QPushButton swatch;
  SetBackgroundColor(&swatch, 0xFF18C6F0);
  EXPECT_EQ(swatch.property("background_color").toUInt(), 0xFF18C6F0u);
  EXPECT_TRUE(swatch.styleSheet().contains(QStringLiteral("#18c6f0")));
  SetBackgroundColor(nullptr, 0xFF000000);  // a control the layout lacks
}

TEST(ButtonText, NamesTableFunctionsShortcutsAndMacros) {
  ButtonRecord button{};
  const KeyNamer name = [](uint8_t usage) { return QStringLiteral("K%1").arg(usage); };

  button.function_code = 1;
  EXPECT_EQ(ButtonTextOf(button, name).text, QStringLiteral("left_click_text"));
  EXPECT_TRUE(ButtonTextOf(button, name).is_language_key);
  button.function_code = 250;  // not in the table
  EXPECT_EQ(ButtonTextOf(button, name).text, QString());

  button.function_code = 16;
  button.shortcut_key = 4;
  button.shortcut_modifiers = 0b0101;  // Ctrl and Alt
  const ButtonText shortcut = ButtonTextOf(button, name);
  EXPECT_FALSE(shortcut.is_language_key);
  EXPECT_EQ(shortcut.text, Lan().Text(QStringLiteral("keyboard_ctrl_text")) + "+" +
                               Lan().Text(QStringLiteral("keyboard_alt_text")) + "+K4");

  button.function_code = 17;
  SetFieldText(button.macro_name, u"Combo");
  const ButtonText macro = ButtonTextOf(button, name);
  EXPECT_FALSE(macro.is_language_key);
  EXPECT_EQ(macro.text, QStringLiteral("Macro: Combo"));  // the prefix apart from the name

  QPushButton control;
  ShowButtonText(&control, {QStringLiteral("left_click_text"), true});
  EXPECT_EQ(control.text(), Lan().Text(QStringLiteral("left_click_text")));
  ShowButtonText(&control, macro);
  EXPECT_EQ(control.text(), macro.text);
}

TEST(ButtonText, ACaptionTooWideForItsButtonIsElidedWithTheWholeTextAsToolTip) {
  QPushButton control;
  const QString long_text = QStringLiteral("Ctrl+Shift+Alt+Win+Scroll Lock");
  const struct {
    int width;
    QString text;
    bool elided;
  } cases[] = {
      {400, long_text, false},           {60, long_text, true},
      {60, QStringLiteral("Ok"), false}, {400, QStringLiteral("Ok"), false},
      {400, long_text, false},  // wide again: the whole caption, no tool tip left over
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    control.resize(c.width, 26);
    ShowButtonText(&control, {c.text, false});
    if (c.elided) {
      EXPECT_NE(control.text(), c.text);
      EXPECT_TRUE(control.text().endsWith(QChar(0x2026))) << control.text().toStdString();
      EXPECT_LE(control.fontMetrics().horizontalAdvance(control.text()), c.width);
      EXPECT_EQ(control.toolTip(), c.text);
    } else {
      EXPECT_EQ(control.text(), c.text);
      EXPECT_TRUE(control.toolTip().isEmpty());
    }
  }
}

TEST(ButtonText, ACaptionIsFittedAgainWhenItsButtonIsResized) {
  QPushButton control;
  control.resize(400, 26);
  control.show();  // a hidden widget hears of its new size only when shown
  // A language key: the tool tip is the language text, not the key.
  ShowButtonText(&control, {QStringLiteral("no_device_text"), true});
  const QString whole = Lan().Text(QStringLiteral("no_device_text"));
  control.resize(80, 26);
  EXPECT_NE(control.text(), whole);
  EXPECT_EQ(control.toolTip(), whole);
  control.resize(2000, 26);
  EXPECT_EQ(control.text(), whole);
  EXPECT_TRUE(control.toolTip().isEmpty());
}

TEST(SystemMouseSettings, StartsTheFirstDesktopToolFoundWithoutAShell) {
  QStringList looked_for;
  QString started;
  QStringList arguments;
  auto start = [&](const QString& program, const QStringList& args) {
    started = program;
    arguments = args;
    return true;
  };
  auto only = [&](const QString& present) {
    return [&looked_for, present](const QString& name) {
      looked_for << name;
      return name == present ? "/usr/bin/" + name : QString();
    };
  };
  EXPECT_TRUE(OpenSystemMouseSettings(only("systemsettings"), start));
  EXPECT_EQ(started, QStringLiteral("/usr/bin/systemsettings"));
  EXPECT_EQ(arguments, QStringList{QStringLiteral("kcm_mouse")});
  EXPECT_EQ(looked_for, (QStringList{"gnome-control-center", "systemsettings"}));

  started.clear();
  EXPECT_FALSE(OpenSystemMouseSettings(only("nothing-here"), start));
  EXPECT_TRUE(started.isEmpty());
}

}  // namespace
}  // namespace ms1
