// Which language the program speaks. Each language is a file of the skin
// folder beside the English "lan.xml", named after the language as locales
// name it: "lan_de.xml", "lan_zh_CN.xml". The English file is always loaded
// and the chosen one over it, so a key a translation lacks shows in English.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace ms1 {

// An environment variable's value; empty when it is not set.
using EnvironmentLookup = std::function<QString(const char* name)>;
QString SystemEnvironment(const char* name);

// The languages asked for, best first. MS1_LANGUAGE, when set, alone; else
// the desktop's, as gettext reads them: the entries of LANGUAGE (a colon
// list), then the locale of messages (LC_ALL, else LC_MESSAGES, else LANG).
// Each name comes without its encoding and modifier, followed by its bare
// language: "de_AT.UTF-8" asks for "de_AT", then "de". A locale of "C" or
// "POSIX" (or none at all) asks for English, whatever LANGUAGE says.
QStringList WantedLanguages(const EnvironmentLookup& env);

// The first wanted language the skin folder has a file for; empty for
// English (asked for, or nothing wanted has a file).
QString ChooseLanguage(const QStringList& wanted, const QString& skin_folder);

// Loads the skin's English texts and the language's over them ("" for
// English alone), and Qt's own texts of its dialogs in that language where
// Qt's translations are installed. May be called again to switch.
void LoadLanguage(const QString& language);

// The language the desktop asks for, chosen and loaded; its name.
QString LoadDesktopLanguage();

}  // namespace ms1
