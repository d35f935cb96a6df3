// Opens the desktop's own mouse settings, whichever desktop is installed.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

namespace ms1 {

struct SettingsProgram {
  QString program;
  QStringList arguments;
  bool operator==(const SettingsProgram&) const = default;
};

// Where a program name is found (a full path), or empty when it is not installed.
using ProgramLocator = std::function<QString(const QString& name)>;

// The candidates, in the order they are tried when the running desktop has
// none of its own installed.
const QList<SettingsProgram>& MouseSettingsPrograms();

// The mouse settings tool to start for `currentDesktop` (the value of
// XDG_CURRENT_DESKTOP, a colon-separated list): the running desktop's own tool
// when it is installed, else the first installed candidate; its program is the
// located path. None when no candidate is installed.
std::optional<SettingsProgram> ChooseMouseSettings(QStringView currentDesktop,
                                                   const ProgramLocator& locate);

// Starts the chosen tool for the running desktop, detached and without a
// shell; `find` locates programs (by default on PATH). False when none was
// found or it did not start.
bool OpenSystemMouseSettings(
    const ProgramLocator& find = {},
    const std::function<bool(const QString&, const QStringList&)>& start = {});

}  // namespace ms1
