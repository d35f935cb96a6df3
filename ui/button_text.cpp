#include "ui/button_text.h"

#include <QAbstractButton>

#include "model/function_table.h"
#include "model/text_field.h"
#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {
namespace {

constexpr uint8_t kShortcutCode = 16;
constexpr uint8_t kMacroCode = 17;

QString ModifierNames(uint8_t modifiers) {
  static const char* const keys[] = {"keyboard_ctrl_text", "keyboard_shift_text",
                                     "keyboard_alt_text", "keyboard_win_text"};
  QString names;
  for (int bit = 0; bit < 4; ++bit) {
    if ((modifiers & (1u << bit)) != 0) names += Lan().Text(QLatin1String(keys[bit])) + "+";
  }
  return names;
}

}  // namespace

ButtonText ButtonTextOf(const ButtonRecord& button, const KeyNamer& key_name) {
  switch (button.function_code) {
    case kShortcutCode:
      return {ModifierNames(button.shortcut_modifiers) + key_name(button.shortcut_key), false};
    case kMacroCode:
      return {Lan().Text(QStringLiteral("assign_macro_text")) +
                  QString::fromStdU16String(FieldText(button.macro_name)),
              false};
    default: {
      const std::string_view key = LabelKeyFor(button.function_code);
      return {QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())), true};
    }
  }
}

void ShowButtonText(QAbstractButton* control, const ButtonText& text) {
  if (control == nullptr) return;
  SetResourceText(control, text.is_language_key);
  SetControlText(control, text.text);
}

QString UsageNumberName(uint8_t usage) {
  return QStringLiteral("#%1").arg(usage);
}

}  // namespace ms1
