#include "platform/system_mouse_settings.h"

#include <QProcess>
#include <QStandardPaths>

namespace ms1 {

const QList<SettingsProgram>& MouseSettingsPrograms() {
  static const QList<SettingsProgram> programs = {
      {QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}},
      {QStringLiteral("systemsettings"), {QStringLiteral("kcm_mouse")}},
      {QStringLiteral("xfce4-mouse-settings"), {}},
  };
  return programs;
}

bool OpenSystemMouseSettings(const std::function<QString(const QString&)>& find,
                             const std::function<bool(const QString&, const QStringList&)>& start) {
  for (const SettingsProgram& candidate : MouseSettingsPrograms()) {
    const QString path = find ? find(candidate.program)
                              : QStandardPaths::findExecutable(candidate.program);
    if (path.isEmpty()) continue;
    return start ? start(path, candidate.arguments)
                 : QProcess::startDetached(path, candidate.arguments);
  }
  return false;
}

}  // namespace ms1
