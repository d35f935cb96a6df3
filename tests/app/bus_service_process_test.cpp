// The program on a session bus of its own, on the virtual mouse: ms1ctl's
// commands go through it to the window, the store and the mouse; status
// follows a press on the mouse; a low battery is told once per discharge.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDomDocument>
#include <QFile>
#include <QObject>
#include <nlohmann/json.hpp>

#include "model/profile.h"
#include "model/profile_file.h"
#include "model/text_field.h"
#include "program_session.h"
#include "support/pipe_spawn.h"

namespace ms1 {
namespace {

using nlohmann::json;

// The desktop's notification service, as far as the program uses it.
class FakeNotifications : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  QStringList bodies;

 public slots:
  uint Notify(const QString&, uint, const QString&, const QString&, const QString& body,
              const QStringList&, const QVariantMap&, int) {
    bodies << body;
    return static_cast<uint>(bodies.size());
  }
};

class BusProgram : public test::DemoCopy {
 protected:
  void SetUp() override {
    DemoCopy::SetUp();
    if (IsSkipped()) return;
    int pipe = -1;
    bus_daemon_ = test::SpawnWithPipe(
        {"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=%FD%"}, pipe);
    address_ = test::ReadPipeLine(pipe);
    ASSERT_FALSE(address_.empty()) << "no session bus";
    // ms1ctl, run from here, finds the bus as the program does.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    StartProgram(ProgramInCopy(), {"DBUS_SESSION_BUS_ADDRESS=" + address_});
    ASSERT_TRUE(test::PollFor([&] { return Status().value("source", "") == "program"; }))
        << "the program did not come onto the bus";
  }
  void TearDown() override {
    DemoCopy::TearDown();
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    test::EndChild(bus_daemon_, SIGTERM);
  }

  json Status() {
    const test::RunResult status = test::Run({test::paths::Ms1ctlFile(), "status", "--json"});
    return status.exit_code == 0 ? json::parse(status.out, nullptr, false) : json::object();
  }
  int MouseBrightness() {
    const json lighting = MouseState()["modes"][0]["lighting"];
    return lighting.is_object() ? lighting.value("brightness", -1) : -1;
  }

  pid_t bus_daemon_ = -1;
  std::string address_;
};

TEST_F(BusProgram, Ms1ctlCommandsReachTheWindowTheStoreAndTheMouse) {
  auto bright = CreateProfile(u"Bright");
  SetSharedSetting(*bright, SharedSetting::kLightBrightness, 3);
  const std::string file = (folder() / "bright.pro").string();
  std::string error;
  ASSERT_TRUE(WriteProfileFile(file, *bright, error)) << error;

  const test::RunResult imported = Ctl({"profiles", "import", file, "--json"});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_EQ(json::parse(imported.out).value("name", ""), "Bright");
  EXPECT_TRUE(test::PollFor([&] { return MouseBrightness() == 3; })) << "not sent";
  EXPECT_EQ(Status()["selected_profile"], "Bright");

  // Every command writes the store before it answers, as ms1ctl's own do.
  ASSERT_EQ(Ctl({"profiles", "select", "Profile 1"}).exit_code, 0);
  EXPECT_NE(Ctl({"profiles", "list"}).out.find("* 0 Profile 1"), std::string::npos);
  EXPECT_TRUE(test::PollFor([&] { return MouseBrightness() != 3; })) << "not sent";

  const struct {
    std::vector<std::string> args;
    const char* refusal;
  } refused[] = {
      {{"profiles", "rename", "Bright", "Profile 1"},
       "ms1ctl: a profile named \"Profile 1\" exists already\n"},
      {{"profiles", "delete", "Nobody"}, "ms1ctl: no profile named \"Nobody\"\n"},
      {{"macros", "import", "/nowhere/m.mcr"}, nullptr},
  };
  for (const auto& c : refused) {
    const test::RunResult result = Ctl(c.args);
    EXPECT_EQ(result.exit_code, 1) << c.args[1];
    if (c.refusal != nullptr) {
      EXPECT_EQ(result.err, c.refusal);
    }
  }
  EXPECT_EQ(Status()["profiles"], json({"Profile 1", "Bright"}));

  // A press on the mouse shows in the live state.
  ASSERT_TRUE(Steer("press dpi 3").value("ok", false));
  EXPECT_TRUE(test::PollFor([&] { return Status().value("dpi_level", 0) == 3; }));
}

TEST_F(BusProgram, ALowBatteryIsToldOnceUntilItWasChargedAbove) {
  QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(address_), "fake");
  FakeNotifications notifications;
  ASSERT_TRUE(bus.registerObject("/org/freedesktop/Notifications", &notifications,
                                 QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(bus.registerService("org.freedesktop.Notifications"));
  const auto reported = [&](int level) {
    EXPECT_TRUE(Steer("battery " + std::to_string(level)).value("ok", false));
    return test::PollFor([&] {
      QCoreApplication::processEvents();
      return Status().value("battery", 0) == level * 10;
    });
  };
  const struct {
    int level;
    int told;
  } steps[] = {{5, 0}, {2, 1}, {1, 1}, {2, 1}, {6, 1}, {2, 2}, {3, 2}};
  for (const auto& step : steps) {
    ASSERT_TRUE(reported(step.level)) << step.level;
    // The notice goes out before the state that follows it is answered.
    QCoreApplication::processEvents();
    EXPECT_EQ(notifications.bodies.size(), step.told) << "at level " << step.level;
  }
  ASSERT_FALSE(notifications.bodies.isEmpty());
  EXPECT_NE(notifications.bodies.front().indexOf("20%"), -1)
      << notifications.bodies.front().toStdString();
  QDBusConnection::disconnectFromBus("fake");
}

// The installed description of the interface is the one the program serves.
TEST_F(BusProgram, TheInterfaceFileMatchesWhatIsServedAndFilesGoByFullPath) {
  QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(address_), "check");
  const QDBusMessage reply =
      bus.call(QDBusMessage::createMethodCall("io.ms1config.Ms1Config", "/io/ms1config/Ms1Config",
                                              "org.freedesktop.DBus.Introspectable", "Introspect"));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  QFile installed(QString::fromStdString(test::paths::SourceFolder()) +
                  "dist/io.ms1config.Ms1Config1.xml");
  ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
  // Each member with the types of its arguments in order.
  const auto members = [](const QString& xml) {
    QDomDocument doc;
    doc.setContent(xml);
    QStringList found;
    for (QDomElement i = doc.documentElement().firstChildElement("interface"); !i.isNull();
         i = i.nextSiblingElement("interface")) {
      if (i.attribute("name") != "io.ms1config.Ms1Config1") continue;
      for (QDomElement m = i.firstChildElement(); !m.isNull(); m = m.nextSiblingElement()) {
        QString in, out;
        for (QDomElement a = m.firstChildElement("arg"); !a.isNull();
             a = a.nextSiblingElement("arg")) {
          (a.attribute("direction", "in") == "in" ? in : out) += a.attribute("type");
        }
        found << m.tagName() + " " + m.attribute("name") + " " + m.attribute("type") + " (" + in +
                     ") -> (" + out + ")";
      }
    }
    found.sort();
    return found;
  };
  const QStringList served = members(reply.arguments().value(0).toString());
  EXPECT_FALSE(served.isEmpty());
  EXPECT_EQ(members(QString::fromUtf8(installed.readAll())).join("\n").toStdString(),
            served.join("\n").toStdString());
  // The program's working folder means nothing to a caller: files go by full path.
  for (const char* import : {"ImportProfile", "ImportMacro"}) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        "io.ms1config.Ms1Config", "/io/ms1config/Ms1Config", "io.ms1config.Ms1Config1", import);
    call << QStringLiteral("relative.pro");
    EXPECT_EQ(bus.call(call).errorName(), "org.freedesktop.DBus.Error.InvalidArgs") << import;
  }
  QDBusConnection::disconnectFromBus("check");
}

}  // namespace
}  // namespace ms1

#include "bus_service_process_test.moc"
