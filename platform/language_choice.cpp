#include "platform/language_choice.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <cstdlib>
#include <memory>

#include "platform/language.h"
#include "platform/skin.h"

namespace ms1 {
namespace {

// "de_AT.UTF-8@euro" gives "de_AT", then "de".
void AddWithBareLanguage(const QString& locale, QStringList& wanted) {
  const QString name = locale.section(u'.', 0, 0).section(u'@', 0, 0);
  if (name.isEmpty()) return;
  wanted << name;
  const QString bare = name.section(u'_', 0, 0);
  if (bare != name) wanted << bare;
}

bool IsEnglish(const QString& name) {
  return name == u"en" || name.startsWith(u"en_");
}

}  // namespace

QString SystemEnvironment(const char* name) {
  return QString::fromLocal8Bit(std::getenv(name));
}

QStringList WantedLanguages(const EnvironmentLookup& env) {
  QStringList wanted;
  if (const QString forced = env("MS1_LANGUAGE"); !forced.isEmpty()) {
    AddWithBareLanguage(forced, wanted);
    return wanted;
  }
  QString locale;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = env(variable);
    if (!locale.isEmpty()) break;
  }
  if (locale.isEmpty() || locale == u"C" || locale == u"POSIX" || locale.startsWith(u"C.")) {
    return {};
  }
  for (const QString& entry : env("LANGUAGE").split(u':', Qt::SkipEmptyParts)) {
    AddWithBareLanguage(entry, wanted);
  }
  AddWithBareLanguage(locale, wanted);
  return wanted;
}

QString ChooseLanguage(const QStringList& wanted, const QString& skin_folder) {
  // A name from the environment never leads out of the skin folder.
  static const QRegularExpression kName(QStringLiteral("^[a-z]{2,3}(_[A-Za-z0-9]+)?$"));
  for (const QString& name : wanted) {
    if (IsEnglish(name)) return {};
    if (kName.match(name).hasMatch() &&
        QFile::exists(skin_folder + QStringLiteral("lan_") + name + QStringLiteral(".xml"))) {
      return name;
    }
  }
  return {};
}

void LoadLanguage(const QString& language) {
  Lan().Load(SkinFile(QStringLiteral("lan.xml")));
  static std::unique_ptr<QTranslator> qt_texts;
  if (qt_texts) QCoreApplication::removeTranslator(qt_texts.get());
  qt_texts.reset();
  if (language.isEmpty()) return;
  Lan().Add(SkinFile(QStringLiteral("lan_") + language + QStringLiteral(".xml")));
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator.get());
    qt_texts = std::move(translator);
  }
}

QString LoadDesktopLanguage() {
  const QString language = ChooseLanguage(WantedLanguages(SystemEnvironment), SkinFolder());
  LoadLanguage(language);
  return language;
}

}  // namespace ms1
