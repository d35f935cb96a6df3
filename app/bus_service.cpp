#include "app/bus_service.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>
#include <cstdio>

#include "model/version.h"

namespace ms1 {
namespace {

QStringList ToStringList(const std::vector<std::string>& items) {
  QStringList list;
  for (const auto& item : items) list << QString::fromStdString(item);
  return list;
}

QString ErrorName(RemoteOutcome::Kind kind) {
  const char* suffix = "Failed";
  switch (kind) {
    case RemoteOutcome::Kind::kNotFound:
      suffix = "NotFound";
      break;
    case RemoteOutcome::Kind::kInvalidName:
      suffix = "InvalidName";
      break;
    case RemoteOutcome::Kind::kRefused:
      suffix = "Refused";
      break;
    case RemoteOutcome::Kind::kDone:
    case RemoteOutcome::Kind::kFailed:
      break;
  }
  return QString::fromLatin1(kBusInterface) + QStringLiteral(".Error.") + QLatin1String(suffix);
}

}  // namespace

BusService::BusService(Program program) : program_(std::move(program)) {}

BusService::~BusService() {
  if (!bus_) return;
  bus_->unregisterObject(QString::fromLatin1(kBusPath));
  bus_->unregisterService(QString::fromLatin1(kBusName));
}

bool BusService::Start(const QDBusConnection& bus) {
  if (!bus.isConnected()) return false;
  live_ = program_.live();
  QDBusConnection connection = bus;
  if (!connection.registerObject(
          QString::fromLatin1(kBusPath), this,
          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)) {
    return false;
  }
  // Never queued behind another owner: a second name owner would be a copy
  // of the program for another data folder, which the single-instance lock
  // already rules out for this user.
  const auto reply = connection.interface()->registerService(
      QString::fromLatin1(kBusName), QDBusConnectionInterface::DontQueueService,
      QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    std::fprintf(stderr,
                 "ms1-config: the session bus name %s is taken; ms1ctl cannot reach "
                 "this program\n",
                 kBusName);
    connection.unregisterObject(QString::fromLatin1(kBusPath));
    return false;
  }
  bus_ = connection;
  return true;
}

void BusService::Refresh() {
  if (!bus_) return;
  const LiveState now = program_.live();
  if (now == live_) return;
  const LiveState before = live_;
  live_ = now;
  QVariantMap changed;
  const auto note = [&changed](const char* name, bool differs, const QVariant& value) {
    if (differs) changed.insert(QLatin1String(name), value);
  };
  note("Links", now.links != before.links, Links());
  note("Connected", now.connected != before.connected, now.connected);
  note("Asleep", now.asleep != before.asleep, now.asleep);
  note("BatteryLevel", now.battery != before.battery, now.battery);
  note("Charging", now.charging != before.charging, now.charging);
  note("DpiLevel", now.dpi_level != before.dpi_level, now.dpi_level);
  note("ActiveMode", now.active_mode != before.active_mode, now.active_mode);
  note("Profiles", now.profiles != before.profiles, Profiles());
  note("SelectedProfile", now.selected != before.selected || now.profiles != before.profiles,
       SelectedProfile());
  note("EditsWaiting", now.edits_waiting != before.edits_waiting, now.edits_waiting);
  QDBusMessage signal = QDBusMessage::createSignal(
      QString::fromLatin1(kBusPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(kBusInterface) << changed << QStringList();
  bus_->send(signal);
}

QString BusService::Version() const {
  return QString::fromLatin1(ProgramVersion());
}

QStringList BusService::Links() const {
  return ToStringList(live_.links);
}

QStringList BusService::Profiles() const {
  return ToStringList(live_.profiles);
}

QString BusService::SelectedProfile() const {
  if (live_.selected < 0 || static_cast<std::size_t>(live_.selected) >= live_.profiles.size()) {
    return {};
  }
  return QString::fromStdString(live_.profiles[static_cast<std::size_t>(live_.selected)]);
}

std::optional<RemoteOutcome> BusService::Run(RemoteCall call) {
  if (program_.waiting_for_user && program_.waiting_for_user()) {
    sendErrorReply(ErrorName(RemoteOutcome::Kind::kRefused),
                   QStringLiteral("the program waits for an answer in one of its windows; "
                                  "answer it, then try again"));
    return std::nullopt;
  }
  RemoteOutcome outcome = program_.run(call);
  Refresh();
  if (!outcome.done()) {
    sendErrorReply(ErrorName(outcome.kind), QString::fromStdString(outcome.refusal));
    return std::nullopt;
  }
  return outcome;
}

std::optional<RemoteOutcome> BusService::RunOnFile(RemoteCall::Command command, const QString& name,
                                                   const QString& file) {
  if (!file.startsWith(u'/')) {
    sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                   QStringLiteral("a file must be named by its full path: ") + file);
    return std::nullopt;
  }
  return Run(RemoteCall::Of(command, name.toStdString(), {}, file.toStdString()));
}

void BusService::SelectProfile(const QString& name) {
  Run(RemoteCall::Of(RemoteCall::Command::kSelectProfile, name.toStdString()));
}

void BusService::AddProfile(const QString& name) {
  Run(RemoteCall::Of(RemoteCall::Command::kAddProfile, name.toStdString()));
}

void BusService::DeleteProfile(const QString& name) {
  Run(RemoteCall::Of(RemoteCall::Command::kDeleteProfile, name.toStdString()));
}

void BusService::RenameProfile(const QString& name, const QString& new_name) {
  Run(RemoteCall::Of(RemoteCall::Command::kRenameProfile, name.toStdString(),
                     new_name.toStdString()));
}

void BusService::ResetProfile(const QString& name) {
  Run(RemoteCall::Of(RemoteCall::Command::kResetProfile, name.toStdString()));
}

void BusService::ExportProfile(const QString& name, const QString& file) {
  RunOnFile(RemoteCall::Command::kExportProfile, name, file);
}

QString BusService::ImportProfile(const QString& file, int& index, QStringList& macros_added) {
  index = -1;
  const auto outcome = RunOnFile(RemoteCall::Command::kImportProfile, {}, file);
  if (!outcome) return {};
  index = outcome->index;
  macros_added = ToStringList(outcome->macros_added);
  return QString::fromStdString(outcome->name);
}

void BusService::ExportMacro(const QString& name, const QString& file) {
  RunOnFile(RemoteCall::Command::kExportMacro, name, file);
}

QString BusService::ImportMacro(const QString& file, int& index) {
  index = -1;
  const auto outcome = RunOnFile(RemoteCall::Command::kImportMacro, {}, file);
  if (!outcome) return {};
  index = outcome->index;
  return QString::fromStdString(outcome->name);
}

void BusService::BringForward() {
  if (program_.bring_forward) program_.bring_forward();
}

}  // namespace ms1
