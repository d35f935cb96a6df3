// A menu file of the skin folder ("traymenu.xml", the button menus), which a
// user or a theme may edit: built into a menu whose every item, when chosen,
// reports its own name.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QString>

#include "fuzz_support.h"
#include "platform/menu_xml.h"
#include "platform/skin.h"

namespace {

using namespace ms1;

void StartApplication() {
  static bool started = false;
  if (started) return;
  started = true;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
  static int argc = 1;
  static char name[] = "skin_menu_fuzz";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  // Icons name files of the skin folder: an empty one of our own.
  SetSkinFolder(QString::fromStdString(fuzz::ScratchFolder().string() + "/"));
}

void RequireItemsReportTheirNames(QMenu& menu, QString& chosen, int& depth) {
  fuzz::Require(++depth < 10000, "menus nested without end");
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    if (QMenu* sub = action->menu()) {
      RequireItemsReportTheirNames(*sub, chosen, depth);
      continue;
    }
    chosen = QStringLiteral("\x01none");
    action->trigger();
    fuzz::Require(chosen == action->objectName(), "a chosen item does not report its name");
  }
  --depth;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  StartApplication();
  QString chosen;
  const auto menu = BuildMenuFromXml(
      QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
      [&](const QString& name) { chosen = name; });
  if (!menu) return 0;
  int depth = 0;
  RequireItemsReportTheirNames(*menu, chosen, depth);
  return 0;
}
