// The macro selection dialog: the user picks a macro of the macro list for a
// button and how it repeats (mode 0 plays it a number of times, 1..255; the
// other two modes take no count). Result 1 = OK with the three values chosen,
// 0 = cancel or close.
#pragma once

#include <QString>
#include <cstdint>

#include "model/macro_store.h"
#include "platform/skin_form.h"

class QListWidget;

namespace ms1 {

class CMS_1_SelectMacro : public SkinDialog {
 public:
  explicit CMS_1_SelectMacro(QWidget* owner = nullptr) : SkinDialog(owner) {}

  // Inputs, set before Create(); the outputs are the same three values as the
  // user left them. The list is only read.
  const MacroList* macros = nullptr;
  int32_t macro_index = -1;  // -1 = none; the caller checks it against the list
  int32_t repeat_mode = 0;   // 0..2
  int32_t loop_count = 1;    // 1..255

  QString WindowClassName() const override { return QStringLiteral("MS_1_SelectMacro"); }
  QString SkinFileName() const override { return QStringLiteral("MS/MS_1/selectmacro.xml"); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& n) override;
  void OnClick(const Notification& n) override;

 private:
  void FillList(QListWidget* list);
  void SelectRepeatOption(int number);
  void OnRepeatOption(int number);
  void KeepDigitsOnly();
  void TakeLoopCountField();
};

}  // namespace ms1
