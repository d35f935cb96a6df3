#include "ui/button_menu.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <memory>

#include "platform/menu_xml.h"

namespace ms1 {
namespace {

TEST(ButtonMenu, OpensBesideTheButtonOrUpwardsNearTheScreensBottom) {
  struct Case {
    QPoint top_right;
    int items;
    int screen_height;
    QPoint anchor;
  };
  const Case cases[] = {
      {{500, 100}, 10, 1080, {500, 100}},
      {{500, 855}, 10, 1080, {500, 855}},  // 855 + 220 + 4 = 1079: still fits
      {{500, 856}, 10, 1080, {500, 657}},  // reaches the bottom: y - 199
      {{500, 858}, 10, 1080, {500, 659}},
      {{500, 1000}, 9, 1080, {500, 823}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ButtonMenuAnchor(c.top_right, c.items, c.screen_height), c.anchor)
        << c.top_right.y() << " " << c.items;
  }
}

TEST(ButtonMenu, ButtonsTwelveToFifteenGetTheMenuWithoutAMacro) {
  for (int button = 0; button < 18; ++button) {
    const bool short_menu = button >= 12 && button <= 15;
    EXPECT_EQ(ButtonMenuFile(button).endsWith(QStringLiteral("ms_1_menu_1.xml")), short_menu)
        << button;
    const std::unique_ptr<QMenu> menu = BuildMenu(ButtonMenuFile(button), [](const QString&) {});
    ASSERT_NE(menu, nullptr);
    // Five groups, a separator, the shortcut, [the macro,] a separator, off.
    EXPECT_EQ(VisibleTopLevelItems(*menu), short_menu ? 9 : 10) << button;
  }
}

}  // namespace
}  // namespace ms1
