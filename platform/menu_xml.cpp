#include "platform/menu_xml.h"

#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QXmlStreamReader>
#include <cstdio>

#include "platform/language.h"
#include "platform/skin.h"

namespace ms1 {
namespace {

void ReadItems(QXmlStreamReader& xml, QMenu* menu, const MenuChosen& chosen);

void ReadItem(QXmlStreamReader& xml, QMenu* menu, const MenuChosen& chosen) {
  const QString name = xml.attributes().value(QLatin1String("name")).toString();
  QAction* action =
      menu->addAction(Lan().Text(xml.attributes().value(QLatin1String("text")).toString()));
  action->setObjectName(name);
  const QString icon = xml.attributes().value(QLatin1String("icon")).toString();
  if (!icon.isEmpty()) action->setIcon(QIcon(SkinFile(icon)));
  action->setCheckable(xml.attributes().value(QLatin1String("checkable")) == u"true");
  QObject::connect(action, &QAction::triggered, menu, [chosen, name] {
    if (chosen) chosen(name);
  });
  xml.skipCurrentElement();
}

void ReadItems(QXmlStreamReader& xml, QMenu* menu, const MenuChosen& chosen) {
  while (xml.readNextStartElement()) {
    if (xml.name() == u"Item") {
      ReadItem(xml, menu, chosen);
    } else if (xml.name() == u"Separator") {
      menu->addSeparator();
      xml.skipCurrentElement();
    } else if (xml.name() == u"Menu") {
      QMenu* sub =
          menu->addMenu(Lan().Text(xml.attributes().value(QLatin1String("text")).toString()));
      sub->setObjectName(xml.attributes().value(QLatin1String("name")).toString());
      ReadItems(xml, sub, chosen);
    } else {
      xml.skipCurrentElement();
    }
  }
}

}  // namespace

std::unique_ptr<QMenu> BuildMenuFromXml(const QByteArray& text, const MenuChosen& chosen,
                                        QWidget* parent) {
  QXmlStreamReader xml(text);
  if (!xml.readNextStartElement() || xml.name() != u"Menu") return nullptr;
  auto menu = std::make_unique<QMenu>(parent);
  ReadItems(xml, menu.get(), chosen);
  if (xml.hasError()) return nullptr;
  return menu;
}

std::unique_ptr<QMenu> BuildMenu(const QString& skinRelativeFile, const MenuChosen& chosen,
                                 QWidget* parent) {
  QFile file(SkinFile(skinRelativeFile));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "skin: cannot open %s\n", qPrintable(file.fileName()));
    return nullptr;
  }
  auto menu = BuildMenuFromXml(file.readAll(), chosen, parent);
  if (!menu) std::fprintf(stderr, "skin: %s is not a menu\n", qPrintable(file.fileName()));
  return menu;
}

}  // namespace ms1
