#include "macro/step_row_widgets.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QToolButton>

#include "keys/key_names.h"
#include "platform/resource_text.h"
#include "platform/skin.h"

namespace ms1 {
namespace {

constexpr int kStepRowHeight = 30;
const QString kRowForm = QStringLiteral("keylistitem.xml");

QIcon SkinIcon(const char* file) {
  return QIcon(SkinFile(QStringLiteral("images/") + QString::fromLatin1(file)));
}

template <class T>
T* Part(QWidget* row, const char* name) {
  return row->findChild<T*>(QString::fromLatin1(name));
}

}  // namespace

StepRowWidgets::StepRowWidgets()
    : mouse_(SkinIcon("step_mouse.svg")),
      keyboard_(SkinIcon("step_keyboard.svg")),
      press_(SkinIcon("step_press.svg")),
      release_(SkinIcon("step_release.svg")) {}

QWidget* StepRowWidgets::NewRow(QListWidget* list) const {
  SkinLoader loader;
  QWidget* row = loader.LoadForm(kRowForm, nullptr);
  if (row == nullptr) row = new QWidget;
  ApplyResourceTexts(row);
  // Clicks on a part select the row like clicks anywhere else on it.
  for (QWidget* part : row->findChildren<QWidget*>()) {
    part->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  auto* item = new QListWidgetItem(list);
  item->setSizeHint(QSize(0, kStepRowHeight));
  list->setItemWidget(item, row);
  return row;
}

void StepRowWidgets::Fill(QWidget* row, const StepRow& content, KeyNamesNow& names) const {
  if (auto* key = Part<QToolButton>(row, "key")) {
    key->setIcon(content.mouse_button ? mouse_ : keyboard_);
    key->setText(names.UsageDisplayName(content.key));
  }
  if (auto* action = Part<QToolButton>(row, "action")) {
    action->setIcon(content.press ? press_ : release_);
    SetControlText(action, content.press ? QStringLiteral("key_down_action")
                                         : QStringLiteral("key_up_action"));
  }
  if (auto* delay = Part<QLabel>(row, "delay")) delay->setText(QString::number(content.delay_shown));
}

void StepRowWidgets::Show(QListWidget* list, const std::vector<StepRow>& rows) const {
  if (list == nullptr) return;
  const QSignalBlocker quiet(list);
  const int wanted = static_cast<int>(rows.size());
  while (list->count() > wanted) delete list->takeItem(list->count() - 1);
  // One reading of the keyboard layout names every key of the list.
  KeyNamesNow names;
  for (int i = 0; i < wanted; ++i) {
    QWidget* row = i < list->count() ? list->itemWidget(list->item(i)) : NewRow(list);
    if (row != nullptr) Fill(row, rows[static_cast<std::size_t>(i)], names);
  }
}

void StepRowWidgets::Refresh(QListWidget* list, int index, const StepRow& content) const {
  if (list == nullptr || index < 0 || index >= list->count()) return;
  if (QWidget* row = list->itemWidget(list->item(index))) {
    KeyNamesNow names;
    Fill(row, content, names);
  }
}

}  // namespace ms1
