// The running program on the session bus: it owns the name
// "io.ms1config.Ms1Config" and exports one object whose properties are the
// live state and whose methods are the profile and macro commands of
// ms1ctl, run as the window's own. Only the user's own processes reach the
// session bus. Every call answers at once: what it starts on the mouse (an
// apply) follows as property changes.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

#include "model/program_bus_names.h"
#include "ui/remote_commands.h"

namespace ms1 {

class BusService : public QObject, protected QDBusContext {
  Q_OBJECT
  // moc takes only a literal here.
  Q_CLASSINFO("D-Bus Interface", "io.ms1config.Ms1Config1")
  Q_PROPERTY(QString Version READ Version)
  Q_PROPERTY(QString DataFolder READ DataFolder)
  Q_PROPERTY(QStringList Links READ Links)
  Q_PROPERTY(bool Connected READ Connected)
  Q_PROPERTY(bool Asleep READ Asleep)
  Q_PROPERTY(int BatteryLevel READ BatteryLevel)
  Q_PROPERTY(bool Charging READ Charging)
  Q_PROPERTY(int DpiLevel READ DpiLevel)
  Q_PROPERTY(int ActiveMode READ ActiveMode)
  Q_PROPERTY(QStringList Profiles READ Profiles)
  Q_PROPERTY(QString SelectedProfile READ SelectedProfile)
  Q_PROPERTY(bool EditsWaiting READ EditsWaiting)

 public:
  // What the service uses of the program.
  struct Program {
    std::function<LiveState()> live;
    std::function<RemoteOutcome(const RemoteCall&)> run;
    std::function<void()> bring_forward;
    // A window of the program waits for the user's answer: a command now
    // could change what that window is about.
    std::function<bool()> waiting_for_user;
    QString data_folder;
  };
  explicit BusService(Program program);
  ~BusService() override;

  // Exports the object and takes the name. False, with the reason on
  // standard error, when there is no session bus or another owns the name:
  // the program then runs as without the service.
  bool Start(const QDBusConnection& bus);
  // Tells the bus which properties changed since the last call.
  void Refresh();

  QString Version() const;
  QString DataFolder() const { return program_.data_folder; }
  QStringList Links() const;
  bool Connected() const { return live_.connected; }
  bool Asleep() const { return live_.asleep; }
  int BatteryLevel() const { return live_.battery; }
  bool Charging() const { return live_.charging; }
  int DpiLevel() const { return live_.dpi_level; }
  int ActiveMode() const { return live_.active_mode; }
  QStringList Profiles() const;
  QString SelectedProfile() const;
  bool EditsWaiting() const { return live_.edits_waiting; }

 public slots:
  void SelectProfile(const QString& name);
  void AddProfile(const QString& name);
  void DeleteProfile(const QString& name);
  void RenameProfile(const QString& name, const QString& new_name);
  void ResetProfile(const QString& name);
  void ExportProfile(const QString& name, const QString& file);
  // The name the profile was added under; its index and the macros added.
  QString ImportProfile(const QString& file, int& index, QStringList& macros_added);
  void ExportMacro(const QString& name, const QString& file);
  QString ImportMacro(const QString& file, int& index);
  void BringForward();

 private:
  // Runs `call`; a refusal becomes the caller's error reply.
  std::optional<RemoteOutcome> Run(RemoteCall call);
  // The same for a command that reads or writes `file`, which must be named
  // by its full path: the program's working folder means nothing to the caller.
  std::optional<RemoteOutcome> RunOnFile(RemoteCall::Command command, const QString& name,
                                         const QString& file);

  Program program_;
  LiveState live_;
  std::optional<QDBusConnection> bus_;
};

static_assert(std::string_view(kBusInterface) == "io.ms1config.Ms1Config1");

}  // namespace ms1
