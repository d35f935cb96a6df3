// The text of a button control: what its assignment does.
#pragma once

#include <QString>
#include <functional>

#include "model/records.h"

class QAbstractButton;

namespace ms1 {

struct ButtonText {
  QString text;
  bool is_language_key = true;  // text is a key of the language file
};

// How a keyboard usage is named on screen.
using KeyNamer = std::function<QString(uint8_t usage)>;

// A table function: its language key (empty when it has none). A shortcut:
// the modifier names, each followed by "+", in the order Ctrl, Shift, Alt,
// Win, then the key's name. A macro: "macro_caption_text" with the macro's name.
ButtonText ButtonTextOf(const ButtonRecord& button, const KeyNamer& key_name);

// Shows the text on the button. A caption wider than the button's room is
// elided at its end, with the whole caption as tool tip; a caption that fits
// has no tool tip. The caption is fitted again whenever the button is resized,
// and the button's width no longer follows its caption.
void ShowButtonText(QAbstractButton* control, const ButtonText& text);

}  // namespace ms1
