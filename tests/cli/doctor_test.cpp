// `ms1ctl doctor` on fake sysfs/dev trees, run as an unprivileged user (root
// may open anything): each problem is found and named with its fix, and the
// exit code is 0 only when nothing is wrong.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/bluez_devices.h"
#include "cli/doctor_checks.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/x_session.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr char kWired[] = "0003:00001D57:0000FA61";
constexpr char kReceiver[] = "0003:00001D57:0000FA60";
constexpr char kBle[] = "0005:0000045E:00000040";

class Doctor : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    fs::permissions(dir, fs::perms::all);
    fs::create_directories(dir / "data");
    fs::permissions(dir / "data", fs::perms::all);
  }
  fs::path root() const { return dir / "root"; }
  // A node of a vendor-defined interface, or of the mouse's pointer input.
  void AddNode(int number, const char* hid_id, fs::perms mode, bool vendor = true) {
    const std::string name = "hidraw" + std::to_string(number);
    fs::create_directories(root() / "sys/class/hidraw" / name / "device");
    test::WriteBytes(root() / "sys/class/hidraw" / name / "device/uevent",
                     "DRIVER=hid-generic\nHID_ID=" + std::string(hid_id) + "\nHID_NAME=x\n");
    test::WriteBytes(root() / "sys/class/hidraw" / name / "device/report_descriptor",
                     vendor ? std::string("\x06\x00\xff\x09\x01\xa1\x01\xc0", 8)
                            : std::string("\x05\x01\x09\x02\xa1\x01\xc0", 7));
    fs::create_directories(root() / "dev");
    test::WriteBytes(root() / "dev" / name, "");
    fs::permissions(root() / "dev" / name, mode);
  }
  void InstallRule() {
    fs::create_directories(root() / "usr/lib/udev/rules.d");
    test::WriteBytes(root() / "usr/lib/udev/rules.d/70-ms1-config.rules", "");
  }
  // The checks by name, and the exit code.
  std::pair<std::map<std::string, json>, int> Run(
      const std::string& program = test::paths::ProgramFolder() + "/",
      std::vector<std::string> env = {}) {
    std::vector<std::string> argv;
    if (::geteuid() == 0)
      argv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    argv.insert(argv.end(), {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                             "HOME=" + dir.string(),
                             "DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + (dir / "no-bus").string()});
    argv.insert(argv.end(), env.begin(), env.end());
    argv.insert(argv.end(),
                {test::paths::Ms1ctlFile(), "doctor", "--json", "--root", root().string(),
                 "--program", program, "--data", (dir / "data").string()});
    const test::RunResult r = test::Run(argv);
    std::map<std::string, json> checks;
    const json out = json::parse(r.out, nullptr, false);
    EXPECT_TRUE(out.is_object()) << r.out << r.err;
    if (out.is_object()) {
      for (const json& c : out["checks"]) checks[c["check"]] = c;
      EXPECT_EQ(out["ok"], r.exit_code == 0);
    }
    return {checks, r.exit_code};
  }
  static void ExpectProblem(const std::map<std::string, json>& checks, const std::string& name,
                            const std::string& fix_part) {
    ASSERT_TRUE(checks.contains(name)) << name;
    const json& c = checks.at(name);
    EXPECT_EQ(c["status"], "problem") << c.dump();
    EXPECT_NE(c.value("fix", "").find(fix_part), std::string::npos) << c.dump();
  }
};

TEST_F(Doctor, NamesEachProblemWithItsFix) {
  {
    SCOPED_TRACE("nothing here: no mouse, no rule, no program files, no BlueZ, no X");
    const fs::path empty = dir / "empty";
    fs::create_directories(empty);
    const auto [checks, code] = Run(empty.string());
    EXPECT_EQ(code, 1);
    ExpectProblem(checks, "mouse", "plug in the cable");
    ExpectProblem(checks, "udev rule", "udevadm control --reload-rules");
    for (const char* file : {"hiddriver_2.so", "hiddriver_1.so", "Hook.so"})
      ExpectProblem(checks, file, "apt install --reinstall");
    ExpectProblem(checks, "Bluetooth LE", "systemctl start bluetooth");
    ExpectProblem(checks, "macro recording (X11 RECORD)", "X11 session");
    EXPECT_EQ(checks.at("data folder")["status"], "ok");
    EXPECT_EQ(checks.at("program")["detail"], "not running");
  }
  {
    SCOPED_TRACE("rule installed, the receiver's node still closed to this user");
    InstallRule();
    AddNode(1, kWired, fs::perms::all);
    AddNode(2, kReceiver, fs::perms::owner_read | fs::perms::owner_write);
    AddNode(3, "0003:0000046D:0000C077", fs::perms::owner_read);  // another mouse
    AddNode(4, kWired, fs::perms::owner_read, false);  // its pointer node: not the program's
    AddNode(5, kBle, fs::perms::owner_read);  // reached through BlueZ, never opened
    const auto [checks, code] = Run();
    EXPECT_EQ(code, 1);
    EXPECT_EQ(checks.at("wired link")["status"], "ok");
    ExpectProblem(checks, "receiver link",
                  "udevadm trigger --action=change '" + (root() / "dev/hidraw2").string() + "'");
    EXPECT_EQ(checks.at("udev rule")["status"], "ok");
    EXPECT_EQ(checks.at("hiddriver_2.so")["status"], "ok");
    EXPECT_EQ(checks.at("Hook.so")["status"], "ok");
    // The cable works, so a missing BlueZ is only worth a note.
    EXPECT_EQ(checks.at("Bluetooth LE")["status"], "note");
    EXPECT_EQ(checks.at("ble link")["status"], "ok");
  }
}

// A fix is pasted into a shell: every path in it is one argument, whatever
// it holds.
TEST(DoctorFixes, PathsAreQuotedForTheShell) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/a/data", "'/home/a/data'"},
      {"/media/my disk/$HOME/*", "'/media/my disk/$HOME/*'"},
      {"it's", "'it'\\''s'"},
      {"", "''"},
  };
  for (const auto& [path, quoted] : cases) EXPECT_EQ(cli::ShellQuoted(path), quoted) << path;
}

TEST_F(Doctor, SaysNothingIsWrongWhenTheMouseCanBeUsed) {
  if (!test::Installed("Xvfb")) GTEST_SKIP() << "needs Xvfb";
  test::XSession x;
  ASSERT_TRUE(x.Start());
  InstallRule();
  AddNode(1, kWired, fs::perms::all);
  const auto [checks, code] = Run(test::paths::ProgramFolder() + "/", x.Env(dir.string()));
  for (const auto& [name, c] : checks) EXPECT_NE(c["status"], "problem") << c.dump();
  EXPECT_EQ(code, 0);
}

TEST(BluezMouse, IsTheDeviceWithTheMousesModalias) {
  const std::string objects = R"({"type":"a{oa{sa{sv}}}","data":[{
    "/org/bluez/hci0":{"org.bluez.Adapter1":{"Powered":{"type":"b","data":true}}},
    "/org/bluez/hci0/dev_11":{"org.bluez.Device1":{"Modalias":{"type":"s","data":"usb:v046Dp4082d0001"},
      "Connected":{"type":"b","data":true}}},
    "/org/bluez/hci0/dev_22":{"org.bluez.Device1":{"Address":{"type":"s","data":"AA:BB:CC:DD:EE:22"},
      "Modalias":{"type":"s","data":"usb:v045Ep0040d0100"},"Paired":{"type":"b","data":true},
      "Connected":{"type":"b","data":false}}}}]})";
  const cli::BluezMouse mouse = cli::BluezMouseFromManagedObjects(objects);
  EXPECT_TRUE(mouse.reachable && mouse.known && mouse.paired);
  EXPECT_FALSE(mouse.connected);
  EXPECT_EQ(mouse.address, "AA:BB:CC:DD:EE:22");
  EXPECT_FALSE(cli::BluezMouseFromManagedObjects("not json").reachable);
  EXPECT_FALSE(cli::BluezMouseFromManagedObjects(R"({"type":"a{oa{sa{sv}}}","data":[{}]})").known);
}

}  // namespace
}  // namespace ms1
