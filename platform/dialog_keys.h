// A dialog acts on some keys itself: Enter confirms, Escape cancels, Tab
// moves the focus. A field that captures keys through the input hook keeps
// them instead, so that they can be captured like any other key.
#pragma once

class QWidget;

namespace ms1 {

// From now on Enter, Escape, Tab and Backtab pressed in `field` stay there.
void KeepDialogKeys(QWidget* field);

}  // namespace ms1
