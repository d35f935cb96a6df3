#include "app/low_battery_notice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

#include "model/program_bus_names.h"
#include "platform/language.h"

namespace ms1 {

void LowBatteryNotice::Update(std::optional<int> percent) {
  if (!percent) return;
  if (*percent > kLowPercent) {
    told_ = false;
    return;
  }
  if (told_ || !enabled_) return;
  told_ = true;
  send_(*percent);
}

void NotifyLowBattery(int percent) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kBusName));
  hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(1));
  call << QStringLiteral("ms1-config") << 0u << QString::fromLatin1(kBusName)
       << Lan().Text(QStringLiteral("mouse_name_text"))
       << Lan().Text(QStringLiteral("low_battery_text")).arg(percent) << QStringList() << hints
       << -1;
  // A desktop without the service answers with an error nobody waits for.
  bus.asyncCall(call);
}

}  // namespace ms1
