// Which language the program speaks, and the translations it can speak.
#include "platform/language_choice.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <map>

#include "platform/language_file.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

TEST(LanguageChoice, FollowsTheLocaleAsGettextDoesUnlessForced) {
  using Env = std::map<std::string, QString>;
  const std::pair<Env, QStringList> cases[] = {
      {{{"LANG", "de_AT.UTF-8"}}, {"de_AT", "de"}},
      {{{"LANG", "fr_FR"}, {"LC_MESSAGES", "es_ES.UTF-8@euro"}}, {"es_ES", "es"}},
      {{{"LC_MESSAGES", "es_ES"}, {"LC_ALL", "fr_CA"}}, {"fr_CA", "fr"}},
      {{{"LANGUAGE", "pt_BR:de::fr"}, {"LANG", "es_ES.UTF-8"}},
       {"pt_BR", "pt", "de", "fr", "es_ES", "es"}},
      {{{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}, {}},
      {{{"LANGUAGE", "de"}, {"LC_ALL", "POSIX"}, {"LANG", "fr_FR"}}, {}},
      {{{"LANGUAGE", "de"}}, {}},
      {{{"MS1_LANGUAGE", "zh_CN"}, {"LANG", "C"}}, {"zh_CN", "zh"}},
  };
  for (const auto& [env, wanted] : cases) {
    const auto lookup = [&env](const char* name) { return env.contains(name) ? env.at(name) : ""; };
    EXPECT_EQ(WantedLanguages(lookup), wanted) << wanted.join(u',').toStdString();
  }
  const QString skin = QString::fromStdString(test::paths::SkinFolder());
  const std::pair<QStringList, QString> choices[] = {
      {{"de_AT", "de"}, "de"}, {{"zh_CN", "zh"}, "zh_CN"}, {{"zh_TW", "zh"}, ""},
      {{"pt", "fr"}, "fr"},    {{"en_GB", "de"}, ""},      {{"../lan", "x/de"}, ""}};
  for (const auto& [wanted, chosen] : choices) EXPECT_EQ(ChooseLanguage(wanted, skin), chosen);
}

// Every translation: each key of the English file and no other, no empty
// text, the same placeholders (%1, %s, %d, ...) as the English text.
TEST(LanguageFiles, EveryTranslationHasEveryEnglishKeyWithTheSamePlaceholders) {
  const std::string skin = test::paths::SkinFolder();
  const auto english = ReadLanguageFile(skin + "lan.xml");
  const auto placeholders = [](const std::string& text) {
    static const QRegularExpression kPlaceholder(QStringLiteral("%(?:[1-9]|[sd%])"));
    QStringList found;
    for (const auto& match : kPlaceholder.globalMatch(QString::fromStdString(text))) {
      found << match.captured();
    }
    found.sort();
    return found;
  };
  const QStringList files = QDir(QString::fromStdString(skin)).entryList({"lan_*.xml"});
  EXPECT_GE(files.size(), 4);
  for (const QString& file : files) {
    const std::string name = file.toStdString();
    const auto translated = ReadLanguageFile(skin + name);
    ASSERT_TRUE(english && translated) << name;
    for (const auto& [key, text] : *english) {
      const std::string& translation = translated->contains(key) ? translated->at(key) : "";
      EXPECT_FALSE(translation.empty()) << name << " has no text for " << key;
      EXPECT_EQ(placeholders(translation), placeholders(text)) << name << ": " << key;
    }
    for (const auto& [key, text] : *translated) EXPECT_TRUE(english->contains(key)) << key;
  }
}

}  // namespace
}  // namespace ms1
