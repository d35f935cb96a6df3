#include "platform/language.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "platform/resource_text.h"

namespace ms1 {
namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& content) {
  const QString path = dir.filePath(QStringLiteral("lan.xml"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(content);
  return path;
}

TEST(Language, ReadsTextsKeepsBlanksAndShowsMissingKeysAsThemselves) {
  QTemporaryDir dir;
  Language lan;
  ASSERT_TRUE(lan.Load(WriteFile(dir,
                                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language>\n"
                                 "  <Text key=\"apply_text\">Apply</Text>\n"
                                 "  <Text key=\"add_profile_text\">Profile </Text>\n"
                                 "  <Text key=\"amp_text\">A &amp; B \xC3\xA9</Text>\n"
                                 "  <Other key=\"x_text\">ignored</Other>\n"
                                 "</Language>\n")));
  EXPECT_EQ(lan.size(), 3);
  EXPECT_EQ(lan.Text(QStringLiteral("apply_text")), QStringLiteral("Apply"));
  EXPECT_EQ(lan.Text(QStringLiteral("add_profile_text")), QStringLiteral("Profile "));
  EXPECT_EQ(lan.Text(QStringLiteral("amp_text")), QString::fromUtf8("A & B \xC3\xA9"));
  EXPECT_EQ(lan.Text(QStringLiteral("missing_text")), QStringLiteral("missing_text"));
  EXPECT_FALSE(lan.Contains(QStringLiteral("x_text")));
}

TEST(Language, RefusesMissingForeignAndBrokenFilesAndForgetsOldTexts) {
  QTemporaryDir dir;
  Language lan;
  ASSERT_TRUE(lan.Load(WriteFile(dir, "<Language><Text key=\"a_text\">A</Text></Language>")));
  EXPECT_FALSE(lan.Load(dir.filePath(QStringLiteral("nothing.xml"))));
  EXPECT_EQ(lan.size(), 0);
  EXPECT_FALSE(lan.Load(WriteFile(dir, "<Window><Text key=\"a_text\">A</Text></Window>")));
  EXPECT_FALSE(lan.Load(WriteFile(dir, "<Language><Text key=\"a_text\">A</Language>")));
  EXPECT_EQ(lan.Text(QStringLiteral("a_text")), QStringLiteral("a_text"));
}

TEST(Language, ATranslationAddedOverEnglishReplacesItsKeysAndLeavesTheOthers) {
  QTemporaryDir dir;
  Language lan;
  ASSERT_TRUE(lan.Load(
      WriteFile(dir, R"(<Language><Text key="a">A</Text><Text key="b">B</Text></Language>)")));
  EXPECT_TRUE(lan.Add(WriteFile(dir, R"(<Language><Text key="a">Ä</Text></Language>)")));
  EXPECT_FALSE(lan.Add(WriteFile(dir, R"(<Language><Text key="b">never closed)")));
  EXPECT_EQ(QStringList({lan.Text("a"), lan.Text("b")}), QStringList({"Ä", "B"}));
}

TEST(ResourceText, ControlsMarkedAsResourceTextShowTheLanguageText) {
  ASSERT_TRUE(Lan().Contains(QStringLiteral("apply_text")));
  QWidget root;
  auto* keyed = new QLabel(QStringLiteral("apply_text"), &root);
  keyed->setProperty("resourcetext", true);
  auto* plain = new QLabel(QStringLiteral("apply_text"), &root);
  ApplyResourceTexts(&root);
  EXPECT_EQ(keyed->text(), Lan().Text(QStringLiteral("apply_text")));
  EXPECT_EQ(ControlTextKey(keyed), QStringLiteral("apply_text"));
  EXPECT_EQ(plain->text(), QStringLiteral("apply_text"));

  SetControlText(keyed, QStringLiteral("no_such_key_text"));
  EXPECT_EQ(keyed->text(), QStringLiteral("no_such_key_text"));
  SetControlText(keyed, QStringLiteral("ok_text"));
  EXPECT_EQ(keyed->text(), Lan().Text(QStringLiteral("ok_text")));

  // Re-resolving keeps the key rather than treating the shown text as one.
  ApplyResourceTexts(&root);
  EXPECT_EQ(keyed->text(), Lan().Text(QStringLiteral("ok_text")));

  SetResourceText(keyed, false);
  SetControlText(keyed, QStringLiteral("1200"));
  EXPECT_EQ(keyed->text(), QStringLiteral("1200"));
}

}  // namespace
}  // namespace ms1
