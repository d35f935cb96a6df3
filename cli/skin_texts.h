// The English texts ms1ctl names keys with: the program's own language file
// when ms1ctl can find it cheaply, else texts made from the language keys.
#pragma once

#include <string>
#include <string_view>

#include "keys/key_naming.h"

namespace ms1::cli {

// The language file of the program beside ms1ctl (res/lan.xml), or in a
// build tree that of the program folder app/ next to ms1ctl's own folder.
// Empty when neither exists.
std::string FindSkinLanguageFile(const std::string& tool_folder);

// "key_Page Up" -> "Page Up", "L_Button" -> "L Button",
// "keyboard_ctrl_text" -> "Ctrl", "left_click_text" -> "left click": readable
// without the language file.
std::string ReadableLanguageKey(std::string_view language_key);

// Texts from the language file when it is found and readable, else
// ReadableLanguageKey; a key the file lacks is shown as itself, as the
// program does.
LanguageText SkinTexts(const std::string& tool_folder);

}  // namespace ms1::cli
