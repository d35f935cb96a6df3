// Commands that talk to the mouse through the driver libraries: apply a
// profile file, and watch the plug and data messages. Both run the mouse
// through the same device session as the program, on a loop of their own.
#include <pthread.h>
#include <signal.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

#include "cli/commands.h"
#include "cli/report_text.h"
#include "device/device_event.h"
#include "device/device_session.h"
#include "device/feature_drivers.h"
#include "device/headless_loop.h"
#include "device/messages.h"
#include "device/silent_link_view.h"
#include "model/profile_file.h"
#include "platform/folders.h"

namespace ms1::cli {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& message) {
  std::cerr << "ms1ctl: " << message << "\n";
  throw CLI::RuntimeError(kFailure);
}

// The program folder; in a build tree the driver libraries lie in "drivers/"
// beside the tool's own folder instead.
std::string DefaultDriverFolder() {
  const fs::path folder = ProgramFolder();
  if (fs::exists(folder / kWiredDriver.file_name) ||
      fs::exists(folder / kReceiverDriver.file_name)) {
    return folder.string();
  }
  return (folder.parent_path().parent_path() / "drivers").string() + "/";
}

// ms1ctl keeps no store: what it sends comes from a file. Every apply ends
// with a save, on every path, so the save tells the loop that it has ended.
class NoStore final : public ProfileStoreWriter {
 public:
  explicit NoStore(LinkHost& loop) : loop_(loop) {}
  bool Save(const ProfileList&, int) override {
    loop_.RunOnInterfaceThread([this] { ++saves_; });
    return true;
  }
  int saves() const { return saves_; }  // interface thread

 private:
  LinkHost& loop_;
  int saves_ = 0;
};

// ms1ctl has no Bluetooth LE transport: only the cable and the receiver.
bool NoBluetooth() { return false; }

// The session with its loop, as the program holds them.
struct HeadlessDevice {
  SilentLinkView view;
  HeadlessLoop loop;
  NoStore store{loop};
  DeviceSession session{{view, loop, loop, store}};

  explicit HeadlessDevice(std::function<void(const ThreadMessage&)> on_link_message = nullptr)
      : loop([this, on_link_message](const ThreadMessage& m) {
          if (!msg::IsLinkMessage(m.id)) return;
          if (on_link_message) on_link_message(m);
          session.OnLinkMessage(m.id, m.wParam, m.lParam);
        }) {}

  void Start(const std::string& folder) {
    session.Start(folder, loop.Handle(), NoBluetooth);
    if (session.drivers().wired() == nullptr && session.drivers().receiver() == nullptr) {
      Fail("no driver library in " + folder + " (" + kWiredDriver.file_name + ", " +
           kReceiverDriver.file_name + ")");
    }
  }
};

const char* LinkOfMessage(uint32_t message) {
  return msg::IsWiredMessage(message) ? "wired" : "receiver";
}

// One line per message: "wired plug arrived", "receiver battery 70% awake".
std::string DescribeMessage(const ThreadMessage& m) {
  const std::string link = LinkOfMessage(m.id);
  if (msg::IsPlugMessage(m.id)) {
    const char* what = m.wParam == 1 ? "arrived" : m.wParam == 0 ? "removed" : "other";
    return link + " plug " + what;
  }
  return link + " " + DescribeDeviceEvent(DataEvent(m.wParam, m.lParam));
}

nlohmann::json MessageJson(const ThreadMessage& m) {
  nlohmann::json line = {{"link", LinkOfMessage(m.id)}};
  if (msg::IsPlugMessage(m.id)) {
    line["kind"] = "plug";
    line["plugged"] = m.wParam == 1;
    return line;
  }
  const DeviceEvent e = DataEvent(m.wParam, m.lParam);
  line["kind"] = "event";
  line["code"] = e.code;
  line["value"] = e.value;
  line["text"] = DescribeDeviceEvent(e);
  return line;
}

struct ApplyOptions {
  std::string file;
  std::string drivers;
  int wait_awake_ms = 6000;
};

void Apply(const ApplyOptions& options) {
  auto profile = std::make_unique<ProfileRecord>();
  std::string error;
  if (!ReadProfileFile(options.file, *profile, error)) Fail(error);
  const std::string folder = options.drivers.empty() ? DefaultDriverFolder() : options.drivers;

  HeadlessDevice device;
  std::size_t sent = 0, failed = 0;
  device.session.SetReportTrace([&](const Report& report, const SendOutcome& out) {
    ++sent;
    if (out.result == 0) ++failed;
    std::cout << (out.link ? ConnectionModeName(*out.link) : "none") << " " << out.result << " "
              << HexLine(report) << std::endl;
  });
  device.Start(folder);
  const LinkState& links = device.session.links();
  // Like the program, the receiver is used only once the mouse has reported
  // itself awake through it.
  if (links.wiredState != link_presence::kPresent &&
      links.receiverState == link_presence::kPresent) {
    device.loop.RunUntil([&] { return links.receiverAwake.load() != 0; },
                         std::chrono::milliseconds(options.wait_awake_ms));
  }
  if (!links.AnyLinkOpen()) Fail("the mouse is not connected");

  device.session.model().With([&](PageState& s) {
    s.profiles.clear();
    s.profiles.push_back(std::move(profile));
    s.selected = 0;
    s.force_full_apply = true;
  });
  device.session.RequestApply();
  // The apply ends with its save, or is dropped when the links went away
  // before it started.
  device.loop.RunUntil([&] { return device.store.saves() > 0 || !links.AnyLinkOpen(); },
                       HeadlessLoop::kForever);
  device.session.Stop();
  if (sent == 0) {
    Fail(links.mouseAsleep.load() != 0 ? "the mouse is asleep; wake it and try again"
                                       : "the mouse went away before anything was sent");
  }
  if (failed != 0) {
    Fail(std::to_string(failed) + " of " + std::to_string(sent) + " reports were not delivered");
  }
}

// SIGINT and SIGTERM end the monitor: they are blocked in every thread (the
// libraries' threads inherit the mask) and taken by one waiting thread.
class StopSignals {
 public:
  explicit StopSignals(HeadlessLoop& loop) {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, nullptr);
    waiter_ = std::thread([this, &loop] {
      int signal_number = 0;
      sigwait(&set_, &signal_number);
      loop.Quit();
    });
  }
  ~StopSignals() {
    // The waiter ends with the first signal; send one if none came.
    pthread_kill(waiter_.native_handle(), SIGTERM);
    waiter_.join();
  }

 private:
  sigset_t set_;
  std::thread waiter_;
};

void Monitor(const std::string& drivers_option, bool as_json) {
  const std::string folder = drivers_option.empty() ? DefaultDriverFolder() : drivers_option;
  HeadlessDevice device([as_json](const ThreadMessage& m) {
    std::cout << (as_json ? MessageJson(m).dump() : DescribeMessage(m)) << std::endl;
  });
  StopSignals stop(device.loop);  // before the libraries start their threads
  device.Start(folder);
  auto presence = [as_json](const char* link, bool open) {
    if (as_json) {
      std::cout << nlohmann::json{{"link", link}, {"kind", "presence"}, {"plugged", open}}.dump();
    } else {
      std::cout << link << (open ? " present" : " absent");
    }
    std::cout << std::endl;
  };
  const LinkState& links = device.session.links();
  if (device.session.drivers().wired()) {
    presence("wired", links.wiredState == link_presence::kPresent);
  }
  if (device.session.drivers().receiver()) {
    presence("receiver", links.receiverState == link_presence::kPresent);
  }
  device.loop.RunUntil([] { return false; }, HeadlessLoop::kForever);
  device.session.Stop();
}

}  // namespace

void RegisterDeviceCommands(CLI::App& app) {
  static ApplyOptions apply_options;
  auto* apply = app.add_subcommand(
      "apply", "Send a forced full apply of a profile file to the mouse and print each report");
  apply->add_option("FILE", apply_options.file, "Profile file")->required();
  apply->add_option("--drivers", apply_options.drivers,
                    "Folder of hiddriver_2.so and hiddriver_1.so (default: the program folder, "
                    "or drivers/ beside it in a build tree)");
  apply
      ->add_option("--wait-awake", apply_options.wait_awake_ms,
                   "Milliseconds to wait for the mouse to report over the receiver")
      ->capture_default_str();
  apply->callback([] { Apply(apply_options); });

  static std::string monitor_drivers;
  static bool monitor_json = false;
  auto* monitor =
      app.add_subcommand("monitor", "Print link changes and decoded device events until interrupted");
  monitor->add_option("--drivers", monitor_drivers, "Folder of the driver libraries");
  monitor->add_flag("--json", monitor_json, "One JSON object per line");
  monitor->callback([] { Monitor(monitor_drivers, monitor_json); });
}

}  // namespace ms1::cli
