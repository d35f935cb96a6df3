#include "ui/button_menu.h"

#include <QAction>
#include <QMenu>

namespace ms1 {

namespace {
constexpr int kItemHeight = 22;
constexpr int kMenuFrame = 4;
}  // namespace

QString ButtonMenuFile(int button) {
  return button >= 12 && button <= 15 ? QStringLiteral("MS/MS_1/ms_1_menu_1.xml")
                                      : QStringLiteral("MS/MS_1/ms_1_menu.xml");
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
