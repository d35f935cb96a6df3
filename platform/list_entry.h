// One text entry of the skin's lists (profiles, macros): every list shows
// its entries at the same fixed height.
#pragma once

#include <QListWidget>
#include <QString>

namespace ms1 {

inline constexpr int kListEntryHeight = 29;

inline QListWidgetItem* AddListEntry(QListWidget* list, const QString& text) {
  auto* item = new QListWidgetItem(text, list);
  item->setSizeHint(QSize(0, kListEntryHeight));
  return item;
}

}  // namespace ms1
