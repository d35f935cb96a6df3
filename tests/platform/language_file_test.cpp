// The language file read without Qt (ms1ctl) against the window's reader.
#include "platform/language_file.h"

#include <gtest/gtest.h>

#include "platform/language.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

TEST(LanguageFile, ReadsTheRealFileAsTheWindowDoes) {
  const std::string path = test::paths::SkinFolder() + "lan.xml";
  Language window;
  ASSERT_TRUE(window.Load(QString::fromStdString(path)));
  const auto plain = ReadLanguageFile(path);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(static_cast<qsizetype>(plain->size()), window.size());
  for (const auto& [key, text] : *plain) {
    EXPECT_EQ(QString::fromStdString(text), window.Text(QString::fromStdString(key))) << key;
  }
}

TEST(LanguageFile, MarkupCases) {
  struct Case {
    std::string xml;
    std::optional<LanguageTexts> texts;
  } const cases[] = {
      {"<?xml version=\"1.0\"?><!-- c <Text key=\"x\">no</Text> --><Language>"
       "<Text key='a'>A &amp; &lt;b&gt; &#233;&#x263A;</Text><Text key=\"e\"/>"
       "<Other>skipped</Other><Text key=\"\">no key</Text></Language>",
       LanguageTexts{{"a", "A & <b> é☺"}, {"e", ""}}},
      {"<Language>\n  <Text  key = \"sp\"\n>multi\nline</Text>\n</Language>",
       LanguageTexts{{"sp", "multi\nline"}}},
      {"<Language><Text key=\"bad\">&#xZZ; &unknown;</Text></Language>",
       LanguageTexts{{"bad", "&#xZZ; &unknown;"}}},
      {"<Strings><Text key=\"a\">A</Text></Strings>", std::nullopt},
      {"<Language><Text key=\"a\">never closed", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseLanguageFile(c.xml), c.texts) << c.xml;
  EXPECT_FALSE(ReadLanguageFile("/no/such/lan.xml").has_value());
}

}  // namespace
}  // namespace ms1
