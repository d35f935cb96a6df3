#include "platform/language.h"

#include <QFile>
#include <QXmlStreamReader>

namespace ms1 {

bool Language::Load(const QString& path) {
  texts_.clear();
  return Read(path, texts_);
}

bool Language::Add(const QString& path) {
  return Read(path, texts_);
}

// Leaves `into` as it was unless the whole file could be read.
bool Language::Read(const QString& path, QHash<QString, QString>& into) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"Language") return false;
  QHash<QString, QString> texts = into;
  while (xml.readNextStartElement()) {
    if (xml.name() != u"Text") {
      xml.skipCurrentElement();
      continue;
    }
    const QString key = xml.attributes().value(QLatin1String("key")).toString();
    const QString text = xml.readElementText();
    if (!key.isEmpty()) texts.insert(key, text);
  }
  if (xml.hasError()) return false;
  into = std::move(texts);
  return true;
}

QString Language::Text(const QString& key) const {
  return texts_.value(key, key);
}

Language& Lan() {
  static Language language;
  return language;
}

}  // namespace ms1
