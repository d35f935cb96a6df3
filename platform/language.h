// The language file: every visible text of the skin and the program is a key
// (ending in "_text") looked up here. The English file is loaded first and a
// translation over it, so a key the translation lacks shows in English; a key
// neither has shows as itself, so a missing text is visible instead of blank.
#pragma once

#include <QHash>
#include <QString>

namespace ms1 {

class Language {
 public:
  // Reads `<Language><Text key="...">...</Text></Language>`. Replaces what was
  // loaded before. False when the file cannot be read or is not that format;
  // the texts loaded so far are then left empty.
  bool Load(const QString& path);
  // Reads another language file over the loaded texts: its keys replace
  // theirs, the others stay. False, with nothing changed, when it cannot be
  // read or is not a language file.
  bool Add(const QString& path);

  QString Text(const QString& key) const;
  bool Contains(const QString& key) const { return texts_.contains(key); }
  qsizetype size() const { return texts_.size(); }
  QList<QString> Keys() const { return texts_.keys(); }

 private:
  static bool Read(const QString& path, QHash<QString, QString>& texts);

  QHash<QString, QString> texts_;
};

// The program's one language (the resource manager of the skin).
Language& Lan();

}  // namespace ms1
