#include "platform/system_mouse_settings.h"

#include <gtest/gtest.h>

#include <QSet>

namespace ms1 {
namespace {

ProgramLocator InstalledOnly(const QStringList& installed) {
  return [set = QSet<QString>(installed.begin(), installed.end())](const QString& name) {
    return set.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
  };
}

TEST(ChooseMouseSettings, PrefersTheRunningDesktopsToolElseTheFirstInstalled) {
  const QStringList everything = {
      "gnome-control-center",  "systemsettings",        "systemsettings5",
      "kcmshell5",             "xfce4-mouse-settings",  "mate-mouse-properties",
      "cinnamon-settings",     "lxqt-config-input"};
  const struct {
    const char* desktop;
    QStringList installed;
    const char* program;  // null: none chosen
    QStringList arguments;
  } cases[] = {
      // The running desktop's own tool among many.
      {"GNOME", everything, "gnome-control-center", {"mouse"}},
      {"ubuntu:GNOME", everything, "gnome-control-center", {"mouse"}},
      {"KDE", everything, "systemsettings", {"kcm_mouse"}},
      {"kde", everything, "systemsettings", {"kcm_mouse"}},
      {"KDE", {"gnome-control-center", "systemsettings5", "kcmshell5"}, "systemsettings5",
       {"kcm_mouse"}},
      {"KDE", {"gnome-control-center", "kcmshell5"}, "kcmshell5", {"kcm_mouse"}},
      {"XFCE", everything, "xfce4-mouse-settings", {}},
      {"MATE", everything, "mate-mouse-properties", {}},
      {"X-Cinnamon", everything, "cinnamon-settings", {"mouse"}},
      {"LXQt", everything, "lxqt-config-input", {}},
      // The first named desktop that has its tool installed.
      {"Budgie:GNOME", everything, "gnome-control-center", {"mouse"}},
      {"LXQt:XFCE", {"xfce4-mouse-settings", "gnome-control-center"}, "xfce4-mouse-settings", {}},
      // The desktop's tool is missing, or the desktop is unknown or unset:
      // the first installed in the fixed order.
      {"KDE", {"mate-mouse-properties", "xfce4-mouse-settings"}, "xfce4-mouse-settings", {}},
      {"Hyprland", {"lxqt-config-input", "cinnamon-settings"}, "cinnamon-settings", {"mouse"}},
      {"", everything, "gnome-control-center", {"mouse"}},
      {":", {"systemsettings5"}, "systemsettings5", {"kcm_mouse"}},
      // Nothing installed.
      {"GNOME", {}, nullptr, {}},
      {"", {"gnome-shell", "kwin"}, nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.desktop) + " / " + c.installed.join(' ').toStdString());
    const auto chosen =
        ChooseMouseSettings(QString::fromLatin1(c.desktop), InstalledOnly(c.installed));
    if (c.program == nullptr) {
      EXPECT_FALSE(chosen.has_value());
      continue;
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->program, QStringLiteral("/usr/bin/") + c.program);
    EXPECT_EQ(chosen->arguments, c.arguments);
  }
}

}  // namespace
}  // namespace ms1
