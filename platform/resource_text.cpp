#include "platform/resource_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "platform/language.h"

namespace ms1 {
namespace {

constexpr const char* kResourceProperty = "resourcetext";
constexpr const char* kKeyProperty = "textkey";

void ShowText(QWidget* control, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  }
}

// Combo items of a resource-text combo box are keys as well; the key of each
// item stays in its user data.
void ResolveComboItems(QComboBox* combo) {
  for (int i = 0; i < combo->count(); ++i) {
    QString key = combo->itemData(i).toString();
    if (key.isEmpty()) {
      key = combo->itemText(i);
      combo->setItemData(i, key);
    }
    combo->setItemText(i, Lan().Text(key));
  }
}

void Resolve(QWidget* control) {
  if (!IsResourceText(control)) return;
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    ResolveComboItems(combo);
    return;
  }
  QString key = control->property(kKeyProperty).toString();
  if (key.isEmpty()) {
    key = ControlText(control);
    control->setProperty(kKeyProperty, key);
  }
  ShowText(control, Lan().Text(key));
}

}  // namespace

void ApplyResourceTexts(QWidget* root) {
  Resolve(root);
  for (QWidget* child : root->findChildren<QWidget*>()) Resolve(child);
}

bool IsResourceText(const QWidget* control) {
  return control->property(kResourceProperty).toBool();
}

void SetResourceText(QWidget* control, bool resource) {
  control->setProperty(kResourceProperty, resource);
  if (!resource) control->setProperty(kKeyProperty, QVariant());
}

void SetControlText(QWidget* control, const QString& text) {
  if (!IsResourceText(control)) {
    ShowText(control, text);
    return;
  }
  control->setProperty(kKeyProperty, text);
  ShowText(control, Lan().Text(text));
}

QString ControlText(const QWidget* control) {
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  return {};
}

QString ControlTextKey(const QWidget* control) {
  return IsResourceText(control) ? control->property(kKeyProperty).toString() : QString();
}

}  // namespace ms1
