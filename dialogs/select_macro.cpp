#include "dialogs/select_macro.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "dialogs/loop_count.h"
#include "model/text_field.h"
#include "platform/list_entry.h"

namespace ms1 {
namespace {

const QString kList = QStringLiteral("list_macro");
const QString kLoopRow = QStringLiteral("hor_loop_time");
const QString kLoopField = QStringLiteral("edit_loop_time");
constexpr int kRepeatOptions = 3;

QString RepeatOptionName(int number) {
  return QStringLiteral("repeat_%1").arg(number);
}

}  // namespace

void CMS_1_SelectMacro::InitWindow() {
  auto* list = FindControl<QListWidget>(kList);
  FillList(list);
  SelectRepeatOption(repeat_mode + 1);
  if (list != nullptr) {
    const QSignalBlocker quiet(list);
    const bool valid = macro_index >= 0 && macro_index < list->count();
    list->setCurrentRow(valid ? macro_index : -1);
  }
  if (auto* field = FindControl<QLineEdit>(kLoopField)) {
    const QSignalBlocker quiet(field);
    field->setText(QString::number(loop_count));
  }
  if (QWidget* row = FindControl(kLoopRow)) row->setVisible(repeat_mode == 0);
}

void CMS_1_SelectMacro::FillList(QListWidget* list) {
  if (list == nullptr || macros == nullptr) return;
  const QSignalBlocker quiet(list);
  list->clear();
  for (const auto& macro : *macros) {
    AddListEntry(list, QString::fromStdU16String(FieldText(macro->name)));
  }
}

// Raises the option's "selectchanged", which sets the mode and the count row.
void CMS_1_SelectMacro::SelectRepeatOption(int number) {
  auto* option = FindControl<QAbstractButton>(RepeatOptionName(number));
  if (option == nullptr) return;
  if (option->isChecked()) {
    OnRepeatOption(number);
  } else {
    option->setChecked(true);
  }
}

void CMS_1_SelectMacro::Notify(const Notification& n) {
  if (n.Is(notify::kClick)) {
    OnClick(n);
  } else if (n.Is(notify::kItemSelect) && n.From(kList)) {
    macro_index = static_cast<int32_t>(n.param);
  } else if (n.Is(notify::kSelectChanged)) {
    for (int number = 1; number <= kRepeatOptions; ++number) {
      if (n.From(RepeatOptionName(number))) OnRepeatOption(number);
    }
  } else if (n.Is(notify::kTextChanged) && n.From(kLoopField)) {
    KeepDigitsOnly();
  } else if (n.Is(notify::kKillFocus) && n.From(kLoopField)) {
    TakeLoopCountField();
  }
}

void CMS_1_SelectMacro::OnClick(const Notification& n) {
  if (n.From(QStringLiteral("btn_ok"))) {
    // Enter in the field confirms without the field losing the focus first.
    TakeLoopCountField();
    Close(1);
  } else if (n.From(QStringLiteral("btn_cancel")) || n.From(QStringLiteral("btn_exit"))) {
    Close(0);
  }
}

void CMS_1_SelectMacro::OnRepeatOption(int number) {
  repeat_mode = number - 1;
  if (QWidget* row = FindControl(kLoopRow)) row->setVisible(number == 1);
}

void CMS_1_SelectMacro::KeepDigitsOnly() {
  auto* field = FindControl<QLineEdit>(kLoopField);
  if (field == nullptr) return;
  const QString digits = LoopCountDigits(field->text());
  if (digits == field->text()) return;
  const QSignalBlocker quiet(field);
  field->setText(digits);
  field->setCursorPosition(static_cast<int>(digits.size()));
}

void CMS_1_SelectMacro::TakeLoopCountField() {
  auto* field = FindControl<QLineEdit>(kLoopField);
  if (field == nullptr) return;
  const LoopCountTaken taken = TakeLoopCount(field->text());
  loop_count = taken.count;
  if (taken.text != field->text()) {
    const QSignalBlocker quiet(field);
    field->setText(taken.text);
  }
}

}  // namespace ms1
