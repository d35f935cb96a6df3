// Opens the desktop's own mouse settings, whichever desktop is installed.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace ms1 {

struct SettingsProgram {
  QString program;
  QStringList arguments;
};

// The candidates, in the order they are tried.
const QList<SettingsProgram>& MouseSettingsPrograms();

// Starts the first candidate that `find` locates (by default on PATH),
// detached and without a shell. False when none was found or it did not start.
bool OpenSystemMouseSettings(
    const std::function<QString(const QString&)>& find = {},
    const std::function<bool(const QString&, const QStringList&)>& start = {});

}  // namespace ms1
