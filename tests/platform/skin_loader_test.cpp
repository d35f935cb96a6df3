// The form loader: it starts without Qt Designer's plugins, leaves the library
// paths as they were, and still makes every class a form names.
#include "platform/skin.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "platform/color_palette.h"
#include "platform/ring_progress.h"

namespace ms1 {
namespace {

TEST(SkinLoader, StartsWithoutDesignerPluginsAndLeavesTheLibraryPathsAlone) {
  const QStringList before = QCoreApplication::libraryPaths();
  ASSERT_FALSE(before.isEmpty());
  for (int round = 0; round < 2; ++round) {  // a second loader finds them the same
    SkinLoader loader;
    EXPECT_TRUE(loader.pluginPaths().isEmpty()) << loader.pluginPaths().join(u' ').toStdString();
    EXPECT_FALSE(loader.availableWidgets().contains(QStringLiteral("QQuickWidget")));
    EXPECT_EQ(QCoreApplication::libraryPaths(), before);
  }
}

TEST(SkinLoader, MakesQtAndOwnClassesByTheirNames) {
  QByteArray form(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="root">
  <layout class="QVBoxLayout" name="layout">
   <item><widget class="QPushButton" name="button"/></item>
   <item><widget class="RingProgress" name="ring"/></item>
   <item><widget class="ColorPalette" name="palette"/></item>
  </layout>
 </widget>
</ui>)");
  QBuffer file(&form);
  SkinLoader loader;
  std::unique_ptr<QWidget> root(loader.load(&file, nullptr));
  ASSERT_NE(root, nullptr) << loader.errorString().toStdString();
  const struct {
    const char* name;
    bool (*is_expected)(QObject*);
  } cases[] = {
      {"button", [](QObject* o) { return qobject_cast<QPushButton*>(o) != nullptr; }},
      {"ring", [](QObject* o) { return dynamic_cast<RingProgress*>(o) != nullptr; }},
      {"palette", [](QObject* o) { return dynamic_cast<ColorPalette*>(o) != nullptr; }},
  };
  for (const auto& c : cases) {
    auto* child = root->findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(child, nullptr) << c.name;
    EXPECT_TRUE(c.is_expected(child)) << c.name << " is a " << child->metaObject()->className();
  }
}

}  // namespace
}  // namespace ms1
