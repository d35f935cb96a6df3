// Commands that talk to the mouse through the driver libraries: apply a
// profile file, and watch the plug and data messages.
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
#include "device/feature_drivers.h"
#include "device/headless_link_window.h"
#include "device/link_state.h"
#include "device/message_queue.h"
#include "device/report_transport.h"
#include "model/apply_plan.h"
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

void LoadDriversOrFail(FeatureDrivers& drivers, const std::string& folder) {
  drivers.Load(folder);
  if (drivers.wired() == nullptr && drivers.receiver() == nullptr) {
    Fail("no driver library in " + folder + " (" + kWiredDriver.file_name + ", " +
         kReceiverDriver.file_name + ")");
  }
}

const char* LinkOfMessage(uint32_t message) {
  return HeadlessLinkWindow::IsWiredMessage(message) ? "wired" : "receiver";
}

// One line per message: "wired plug arrived", "receiver battery 70% awake".
std::string DescribeMessage(const ThreadMessage& m) {
  const std::string link = LinkOfMessage(m.id);
  if (HeadlessLinkWindow::IsPlugMessage(m.id)) {
    const char* what = m.wParam == 1 ? "arrived" : m.wParam == 0 ? "removed" : "other";
    return link + " plug " + what;
  }
  return link + " " + DescribeDeviceEvent(DataEvent(m.wParam, m.lParam));
}

nlohmann::json MessageJson(const ThreadMessage& m) {
  nlohmann::json line = {{"link", LinkOfMessage(m.id)}};
  if (HeadlessLinkWindow::IsPlugMessage(m.id)) {
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

  LinkState links;
  HeadlessLinkWindow window(links);
  FeatureDrivers drivers;
  LoadDriversOrFail(drivers, folder);
  if (drivers.OpenWired(window.Handle())) links.wiredState = link_presence::kPresent;
  if (drivers.OpenReceiver(window.Handle())) links.receiverState = link_presence::kPresent;
  // Like the program, the receiver is used only once the mouse has reported
  // itself awake through it.
  if (links.wiredState != link_presence::kPresent &&
      links.receiverState == link_presence::kPresent) {
    window.WaitUntil([&] { return links.receiverAwake.load() != 0; },
                     std::chrono::milliseconds(options.wait_awake_ms));
  }
  if (!links.AnyLinkOpen()) {
    drivers.CloseAll();
    Fail("the mouse is not connected");
  }

  RealPacer pacer;
  ReportTransport transport(links, pacer);
  transport.SetWired(drivers.wired());
  transport.SetReceiver(drivers.receiver());
  auto zero = std::make_unique<ProfileRecord>();
  std::memset(zero.get(), 0, sizeof(ProfileRecord));
  const ApplyPlan plan = PlanApply(*profile, *zero, true);
  int failed = 0;
  for (const Report& report : plan.reports) {
    const SendOutcome out = transport.Send(report.data(), static_cast<int>(report.size()));
    if (out.result == 0) ++failed;
    std::cout << (out.link ? ConnectionModeName(*out.link) : "none") << " " << out.result << " "
              << HexLine(report) << std::endl;
  }
  drivers.CloseAll();
  drivers.Unload();
  if (failed != 0) {
    Fail(std::to_string(failed) + " of " + std::to_string(plan.reports.size()) +
         " reports were not delivered");
  }
}

// SIGINT and SIGTERM end the monitor: they are blocked in every thread (the
// libraries' threads inherit the mask) and taken by one waiting thread.
class StopSignals {
 public:
  explicit StopSignals(MessageQueue& queue) {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, nullptr);
    waiter_ = std::thread([this, &queue] {
      int signal_number = 0;
      sigwait(&set_, &signal_number);
      queue.Post({kStopMessage, static_cast<uintptr_t>(signal_number), 0});
    });
  }
  ~StopSignals() {
    // The waiter ends with the first signal; send one if none came.
    pthread_kill(waiter_.native_handle(), SIGTERM);
    waiter_.join();
  }
  static constexpr uint32_t kStopMessage = 0;

 private:
  sigset_t set_;
  std::thread waiter_;
};

void Monitor(const std::string& drivers_option, bool as_json) {
  const std::string folder = drivers_option.empty() ? DefaultDriverFolder() : drivers_option;
  LinkState links;
  HeadlessLinkWindow window(links);
  StopSignals stop(window.messages());
  FeatureDrivers drivers;
  LoadDriversOrFail(drivers, folder);
  const bool wired_open = drivers.OpenWired(window.Handle());
  const bool receiver_open = drivers.OpenReceiver(window.Handle());
  auto presence = [as_json](const char* link, bool open) {
    if (as_json) {
      std::cout << nlohmann::json{{"link", link}, {"kind", "presence"}, {"plugged", open}}.dump();
    } else {
      std::cout << link << (open ? " present" : " absent");
    }
    std::cout << std::endl;
  };
  if (drivers.wired()) presence("wired", wired_open);
  if (drivers.receiver()) presence("receiver", receiver_open);
  for (;;) {
    const ThreadMessage m = window.messages().Wait();
    if (m.id == StopSignals::kStopMessage) break;
    std::cout << (as_json ? MessageJson(m).dump() : DescribeMessage(m)) << std::endl;
    if (!HeadlessLinkWindow::IsPlugMessage(m.id)) continue;
    // As the program does: open the device on arrival, close it on removal.
    DriverLibrary* library =
        HeadlessLinkWindow::IsWiredMessage(m.id) ? drivers.wired() : drivers.receiver();
    if (library == nullptr) continue;
    if (m.wParam == 1) library->OpenFeatureDevice();
    if (m.wParam == 0) library->CloseFeatureDevice();
  }
  drivers.CloseAll();
  drivers.Unload();
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
