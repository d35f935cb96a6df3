// The pop-up menu of a key button: which menu file, and where it opens.
#pragma once

#include <QPoint>
#include <QString>

class QMenu;

namespace ms1 {

// Buttons 12..15 cannot take a macro (only buttons 0..11 follow the macro
// list), so they have a menu without that item.
QString ButtonMenuFile(int button);

// Items and separators shown at the menu's top level.
int VisibleTopLevelItems(const QMenu& menu);

// The menu's top-left corner at the button's top-right corner; when a menu of
// `visible_items` rows (22 pixels each, 4 of frame) would reach the screen's
// bottom, it opens upwards from just below the button's top edge instead.
QPoint ButtonMenuAnchor(QPoint button_top_right, int visible_items, int screen_height);

}  // namespace ms1
