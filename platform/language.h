// The language file: every visible text of the skin and the program is a key
// (ending in "_text") looked up here. A key the file lacks shows as itself, so
// a missing translation is visible instead of blank.
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

  QString Text(const QString& key) const;
  bool Contains(const QString& key) const { return texts_.contains(key); }
  qsizetype size() const { return texts_.size(); }
  QList<QString> Keys() const { return texts_.keys(); }

 private:
  QHash<QString, QString> texts_;
};

// The program's one language (the resource manager of the skin).
Language& Lan();

}  // namespace ms1
