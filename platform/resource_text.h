// "Resource text" controls: a control whose dynamic property `resourcetext` is
// true holds a language key and shows that key's language text. The key is kept
// in the property `textkey`, so the text can be re-resolved later.
#pragma once

#include <QString>

class QWidget;

namespace ms1 {

// Resolves every resource-text control below `root` (and `root` itself).
void ApplyResourceTexts(QWidget* root);

bool IsResourceText(const QWidget* control);
void SetResourceText(QWidget* control, bool resource);

// Sets a control's text; for a resource-text control `text` is a language key.
// Works for labels, buttons, group boxes and line edits; other controls ignore it.
void SetControlText(QWidget* control, const QString& text);

// The shown text of a label, button, group box or line edit.
QString ControlText(const QWidget* control);

// The language key a resource-text control was given (empty for others).
QString ControlTextKey(const QWidget* control);

}  // namespace ms1
