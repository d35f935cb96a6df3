#include "platform/system_mouse_settings.h"

#include <QProcess>
#include <QStandardPaths>
#include <array>

namespace ms1 {
namespace {

// Each tool with the XDG_CURRENT_DESKTOP names of the desktop it belongs to.
struct DesktopTool {
  std::array<const char*, 2> desktops;
  SettingsProgram command;
};

const QList<DesktopTool>& DesktopTools() {
  static const QList<DesktopTool> tools = {
      {{"GNOME", "Unity"}, {QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}}},
      // Plasma 6, then Plasma 5 under both of its names.
      {{"KDE"}, {QStringLiteral("systemsettings"), {QStringLiteral("kcm_mouse")}}},
      {{"KDE"}, {QStringLiteral("systemsettings5"), {QStringLiteral("kcm_mouse")}}},
      {{"KDE"}, {QStringLiteral("kcmshell5"), {QStringLiteral("kcm_mouse")}}},
      {{"XFCE"}, {QStringLiteral("xfce4-mouse-settings"), {}}},
      {{"MATE"}, {QStringLiteral("mate-mouse-properties"), {}}},
      {{"X-Cinnamon", "Cinnamon"},
       {QStringLiteral("cinnamon-settings"), {QStringLiteral("mouse")}}},
      {{"LXQt"}, {QStringLiteral("lxqt-config-input"), {}}},
  };
  return tools;
}

bool BelongsTo(const DesktopTool& tool, QStringView desktop) {
  for (const char* name : tool.desktops) {
    if (name != nullptr && desktop.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return false;
}

std::optional<SettingsProgram> Located(const SettingsProgram& command,
                                       const ProgramLocator& locate) {
  const QString path = locate(command.program);
  if (path.isEmpty()) return std::nullopt;
  return SettingsProgram{path, command.arguments};
}

}  // namespace

const QList<SettingsProgram>& MouseSettingsPrograms() {
  static const QList<SettingsProgram> programs = [] {
    QList<SettingsProgram> list;
    for (const DesktopTool& tool : DesktopTools()) list << tool.command;
    return list;
  }();
  return programs;
}

std::optional<SettingsProgram> ChooseMouseSettings(QStringView currentDesktop,
                                                   const ProgramLocator& locate) {
  // A session may name several desktops ("ubuntu:GNOME"); the first known wins.
  for (QStringView desktop : currentDesktop.split(u':', Qt::SkipEmptyParts)) {
    for (const DesktopTool& tool : DesktopTools()) {
      if (!BelongsTo(tool, desktop)) continue;
      if (auto found = Located(tool.command, locate)) return found;
    }
  }
  for (const SettingsProgram& command : MouseSettingsPrograms()) {
    if (auto found = Located(command, locate)) return found;
  }
  return std::nullopt;
}

bool OpenSystemMouseSettings(const ProgramLocator& find,
                             const std::function<bool(const QString&, const QStringList&)>& start) {
  const ProgramLocator locate =
      find ? find : [](const QString& name) { return QStandardPaths::findExecutable(name); };
  const auto chosen =
      ChooseMouseSettings(QString::fromLocal8Bit(qgetenv("XDG_CURRENT_DESKTOP")), locate);
  if (!chosen) return false;
  return start ? start(chosen->program, chosen->arguments)
               : QProcess::startDetached(chosen->program, chosen->arguments);
}

}  // namespace ms1
