#include "ui/button_menu.h"

#include <QAction>
#include <QMenu>

#include "model/button_assignment.h"

namespace ms1 {

namespace {
constexpr int kItemHeight = 22;
constexpr int kMenuFrame = 4;
}  // namespace

QString ButtonMenuFile(int button) {
  // The second menu is the first without its macro item.
  return ButtonOffersMacros(button) ? QStringLiteral("MS/MS_1/ms_1_menu.xml")
                                    : QStringLiteral("MS/MS_1/ms_1_menu_1.xml");
}

int VisibleTopLevelItems(const QMenu& menu) {
  int visible = 0;
  for (const QAction* action : menu.actions()) visible += action->isVisible() ? 1 : 0;
  return visible;
}

QPoint ButtonMenuAnchor(QPoint button_top_right, int visible_items, int screen_height) {
  const int height = kItemHeight * visible_items;
  if (button_top_right.y() + height + kMenuFrame >= screen_height) {
    return {button_top_right.x(), button_top_right.y() - height + 21};
  }
  return button_top_right;
}

}  // namespace ms1
