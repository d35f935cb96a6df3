#include "platform/menu_xml.h"

#include <gtest/gtest.h>

#include <QMenu>

#include "platform/language.h"

namespace ms1 {
namespace {

QAction* FindAction(QMenu* menu, const QString& name) {
  for (QAction* action : menu->actions()) {
    if (action->objectName() == name) return action;
    if (action->menu() != nullptr) {
      if (QAction* inner = FindAction(action->menu(), name)) return inner;
    }
  }
  return nullptr;
}

TEST(MenuXml, BuildsItemsSeparatorsAndSubmenusAndReportsTheChosenName) {
  QStringList chosen;
  auto menu = BuildMenuFromXml(
      "<Menu><Item name=\"a\" text=\"ok_text\"/><Separator/>"
      "<Menu text=\"cancel_text\"><Item name=\"ms_1_copy\" text=\"copy_text\"/></Menu></Menu>",
      [&](const QString& name) { chosen << name; });
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_TRUE(menu->actions()[1]->isSeparator());
  EXPECT_EQ(menu->actions()[0]->text(), Lan().Text(QStringLiteral("ok_text")));
  ASSERT_NE(menu->actions()[2]->menu(), nullptr);
  EXPECT_EQ(menu->actions()[2]->text(), Lan().Text(QStringLiteral("cancel_text")));

  FindAction(menu.get(), QStringLiteral("ms_1_copy"))->trigger();
  FindAction(menu.get(), QStringLiteral("a"))->trigger();
  EXPECT_EQ(chosen, (QStringList{QStringLiteral("ms_1_copy"), QStringLiteral("a")}));
}

TEST(MenuXml, RefusesWhatIsNotAMenu) {
  EXPECT_EQ(BuildMenuFromXml("<Window/>", {}), nullptr);
  EXPECT_EQ(BuildMenuFromXml("<Menu><Item name=\"a\"", {}), nullptr);
  EXPECT_EQ(BuildMenu(QStringLiteral("no_such_menu.xml"), {}), nullptr);
}

TEST(MenuXml, TrayMenuOfTheSkinOffersConfigurationAndExit) {
  auto menu = BuildMenu(QStringLiteral("traymenu.xml"), {});
  ASSERT_NE(menu, nullptr);
  for (const char* name : {"configuration", "exit"}) {
    QAction* action = FindAction(menu.get(), QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    EXPECT_FALSE(action->text().endsWith(QStringLiteral("_text"))) << "untranslated " << name;
  }
}

}  // namespace
}  // namespace ms1
