// The rows of the macro editor's step list, each built from the skin's row
// form "keylistitem.xml" with its three parts "key", "action" and "delay".
// Mouse steps and keyboard steps, presses and releases, carry their images.
#pragma once

#include <QIcon>
#include <vector>

#include "macro/step_rows.h"

class QListWidget;
class QWidget;

namespace ms1 {

class KeyNamesNow;

class StepRowWidgets {
 public:
  StepRowWidgets();

  // Makes the list hold exactly these rows. Rows that exist are rewritten in
  // place and only the missing ones are built, so a recording that adds one
  // step does not rebuild the whole list. Notifies nothing.
  void Show(QListWidget* list, const std::vector<StepRow>& rows) const;
  // Rewrites the row at index, when it exists.
  void Refresh(QListWidget* list, int index, const StepRow& content) const;

 private:
  QWidget* NewRow(QListWidget* list) const;
  void Fill(QWidget* row, const StepRow& content, KeyNamesNow& names) const;

  QIcon mouse_;
  QIcon keyboard_;
  QIcon press_;
  QIcon release_;
};

}  // namespace ms1
