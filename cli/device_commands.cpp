// Commands that talk to the mouse through the driver libraries: apply a
// profile file, and watch the plug and data messages. Both run the mouse
// through the same device session as the program, on a loop of their own.
#include <pthread.h>
#include <signal.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/commands.h"
#include "cli/program_bus.h"
#include "cli/report_text.h"
#include "device/device_event.h"
#include "device/device_session.h"
#include "device/driver/feature_drivers.h"
#include "device/headless_loop.h"
#include "device/messages.h"
#include "device/silent_link_view.h"
#include "device/trace_output.h"
#include "model/data_folder_lock.h"
#include "model/profile.h"
#include "model/profile_file.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "platform/folders.h"

namespace ms1::cli {

namespace {

namespace fs = std::filesystem;
using enum ConnectionMode;

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

// The Bluetooth LE link is asked of BlueZ only; a hidraw node of the mouse
// tells nothing more.
bool NoHidrawProbe() {
  return false;
}

// The links a command uses: all of them, or the one named by --link.
DeviceSession::Links LinksOf(const std::string& link) {
  if (link.empty()) return {};
  const auto only = ParseLink(link);
  return {only == kWired, only == kReceiver, only == kBluetooth};
}

// One event of a link, as the monitor prints it: a plug change or a device event.
using LinkEventTrace = std::function<void(const char* link, DeviceEvent e)>;

// The session with its loop, as the program holds them.
struct HeadlessDevice {
  SilentLinkView view;
  HeadlessLoop loop;
  NoStore store{loop};
  DeviceSession session{{view, loop, loop, store}};

  explicit HeadlessDevice(LinkEventTrace trace = nullptr)
      : loop([this, trace](const ThreadMessage& m) {
          if (!msg::IsLinkMessage(m.id)) return;
          if (trace) trace(LinkOfMessage(m.id), EventOfMessage(m));
          session.OnLinkMessage(m.id, m.wParam, m.lParam);
        }) {
    if (trace)
      session.SetBluetoothTrace([trace](DeviceEvent e) { trace(LinkName(kBluetooth), e); });
  }

  void Start(const std::string& folder, DeviceSession::Links use) {
    SetTraceOutput(nullptr);  // standard output carries the command's answer
    session.Start(folder, loop.Handle(), NoHidrawProbe, use);
    // As the page does once its profiles are loaded: the transport gets its
    // filter. The monitor tells the link as present once it is subscribed.
    session.OnBluetoothLink(session.links().bleConnected.load() != 0);
    session.WaitForBluetoothCalls();
    const bool drivers_wanted = use.wired || use.receiver;
    if (drivers_wanted && session.drivers().wired() == nullptr &&
        session.drivers().receiver() == nullptr && session.links().bleConnected.load() == 0) {
      Fail("no driver library in " + folder + " (" + kWiredDriver.file_name + ", " +
           kReceiverDriver.file_name + ")");
    }
  }

  static const char* LinkOfMessage(uint32_t message) {
    return LinkName(msg::IsWiredMessage(message) ? kWired : kReceiver);
  }
  static DeviceEvent EventOfMessage(const ThreadMessage& m) {
    return msg::IsPlugMessage(m.id) ? PlugEvent(m.wParam) : DataEvent(m.wParam, m.lParam);
  }
};

// One line per event: "wired plug arrived", "receiver battery 70% awake".
std::string DescribeLinkEvent(const std::string& link, DeviceEvent e) {
  if (e.code == event::kPlug) {
    const char* what = e.value == event::kPlugArrived   ? "arrived"
                       : e.value == event::kPlugRemoved ? "removed"
                                                        : "other";
    return link + " plug " + what;
  }
  return link + " " + DescribeDeviceEvent(e);
}

nlohmann::json LinkEventJson(const char* link, DeviceEvent e) {
  nlohmann::json line = {{"link", link}};
  if (e.code == event::kPlug) {
    line["kind"] = "plug";
    line["plugged"] = e.value == event::kPlugArrived;
    return line;
  }
  line["kind"] = "event";
  line["code"] = e.code;
  line["value"] = e.value;
  line["text"] = DescribeDeviceEvent(e);
  return line;
}

struct ApplyOptions {
  std::string file;
  std::string drivers;
  std::string link;
  int wait_awake_ms = 6000;
};

// The running program holds the mouse: the file goes to it as an import,
// which it selects and sends. Without its service there is no way in.
void ApplyThroughProgram(ProgramBus& program, const ApplyOptions& options) {
  int index = 0;
  std::vector<std::string> macros;
  const std::string name =
      program.ImportProfile(fs::absolute(options.file).lexically_normal().string(), index, macros);
  std::cout << "imported as \"" << name
            << "\" and selected in the running program, which sends it to the mouse" << std::endl;
}

// A program on the session bus holds the mouse, wherever its data folder;
// one that holds this data folder without answering there is refused.
std::unique_ptr<ProgramBus> RunningProgram(const char* refusal) {
  if (auto program = ProgramBus::Connect()) return program;
  if (DataFolderLock::IsHeld(DataFolder())) {
    Fail(std::string("the MS_1 program is running and holds the mouse, but does not answer on "
                     "the session bus; ") +
         refusal);
  }
  return nullptr;
}

void Apply(const ApplyOptions& options) {
  auto profile = std::make_unique<ProfileRecord>();
  std::string error;
  if (!ReadProfileFile(options.file, *profile, error)) Fail(error);
  if (options.drivers.empty()) {
    const auto program = RunningProgram("import the file in the program, or close it first");
    if (program) return ApplyThroughProgram(*program, options);
  }
  const std::string folder = options.drivers.empty() ? DefaultDriverFolder() : options.drivers;

  HeadlessDevice device;
  std::size_t sent = 0, failed = 0;
  device.session.SetReportTrace([&](const Report& report, const SendOutcome& out) {
    ++sent;
    if (out.Lost()) ++failed;
    // "skip": the link has no such setting (the polling rate over Bluetooth LE).
    std::cout << (out.link ? ConnectionModeName(*out.link) : "none") << " "
              << (out.not_for_link ? std::string("skip") : std::to_string(out.result)) << " "
              << HexLine(report) << std::endl;
  });
  device.Start(folder, LinksOf(options.link));
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

struct MonitorOptions {
  std::string drivers;
  std::string link;
  bool json = false;
};

// The program's properties as status and monitor print them.
nlohmann::json PropertyValue(ProgramBus& program, const std::string& name) {
  if (name == "Links" || name == "Profiles") return program.StringsProperty(name.c_str());
  if (name == "BatteryLevel" || name == "DpiLevel" || name == "ActiveMode") {
    return program.IntProperty(name.c_str());
  }
  if (name == "SelectedProfile" || name == "DataFolder" || name == "Version") {
    return program.StringProperty(name.c_str());
  }
  return program.BoolProperty(name.c_str());
}

// While the program runs, the monitor follows its state instead of the mouse.
void MonitorProgram(ProgramBus& program, bool as_json) {
  program.FollowChanges([&](const std::string& name) {
    const nlohmann::json value = PropertyValue(program, name);
    if (as_json) {
      std::cout << nlohmann::json{{"kind", "property"}, {"name", name}, {"value", value}}.dump();
    } else {
      std::cout << name << " " << (value.is_string() ? value.get<std::string>() : value.dump());
    }
    std::cout << std::endl;
  });
}

void Monitor(const MonitorOptions& options) {
  if (options.drivers.empty()) {
    const auto program = RunningProgram("close it to watch the mouse itself");
    if (program) return MonitorProgram(*program, options.json);
  }
  const std::string folder = options.drivers.empty() ? DefaultDriverFolder() : options.drivers;
  const bool as_json = options.json;
  HeadlessDevice device([as_json](const char* link, DeviceEvent e) {
    std::cout << (as_json ? LinkEventJson(link, e).dump() : DescribeLinkEvent(link, e))
              << std::endl;
  });
  StopSignals stop(device.loop);  // before the libraries start their threads
  const DeviceSession::Links use = LinksOf(options.link);
  device.Start(folder, use);
  auto presence = [as_json](ConnectionMode mode, bool open) {
    const char* link = LinkName(mode);
    if (as_json) {
      std::cout << nlohmann::json{{"link", link}, {"kind", "presence"}, {"plugged", open}}.dump();
    } else {
      std::cout << link << (open ? " present" : " absent");
    }
    std::cout << std::endl;
  };
  const LinkState& links = device.session.links();
  if (device.session.drivers().wired()) {
    presence(kWired, links.Present(kWired));
  }
  if (device.session.drivers().receiver()) {
    presence(kReceiver, links.Present(kReceiver));
  }
  // Without BlueZ there is no Bluetooth link to speak of, unless it was asked for.
  if (use.bluetooth && (links.Present(kBluetooth) || ParseLink(options.link) == kBluetooth)) {
    presence(kBluetooth, links.Present(kBluetooth));
  }
  device.loop.RunUntil([] { return false; }, HeadlessLoop::kForever);
  device.session.Stop();
}

struct LiveStatusOptions {
  std::string drivers;
  bool json = false;
};

// The live state from the running program, or, without it, the links found
// now and the stored selection: the mouse reports its battery and sleep only
// as they change, so those are unknown then.
nlohmann::json LiveStatusJson(const LiveStatusOptions& options) {
  using nlohmann::json;
  if (auto program = RunningProgram("its window shows the state")) {
    const int battery = program->IntProperty("BatteryLevel");
    return {{"source", "program"},
            {"links", program->StringsProperty("Links")},
            {"connected", program->BoolProperty("Connected")},
            {"asleep", program->BoolProperty("Asleep")},
            {"battery", battery < 0 ? json(nullptr) : json(battery)},
            {"charging", program->BoolProperty("Charging")},
            {"dpi_level", program->IntProperty("DpiLevel")},
            {"active_mode", program->IntProperty("ActiveMode")},
            {"profiles", program->StringsProperty("Profiles")},
            {"selected_profile", program->StringProperty("SelectedProfile")},
            {"edits_waiting", program->BoolProperty("EditsWaiting")}};
  }
  json out = {{"source", "mouse"},
              {"asleep", nullptr},
              {"battery", nullptr},
              {"charging", nullptr},
              {"edits_waiting", nullptr}};
  HeadlessDevice device;
  device.Start(options.drivers.empty() ? DefaultDriverFolder() : options.drivers, {});
  const LinkState& links = device.session.links();
  out["links"] = links.PresentLinkNames();
  out["connected"] = links.AnyLinkOpen();
  device.session.Stop();
  ProfileList profiles;
  int32_t selected = 0;
  LoadProfileStore(DataFolder(), profiles, selected, kDefaultAddProfileText,
                   StoreAccess::kReadOnly);
  json names = json::array();
  for (const auto& p : profiles) names.push_back(Utf16ToUtf8(p.Name()));
  out["profiles"] = names;
  out["selected_profile"] = nullptr;
  out["dpi_level"] = nullptr;
  out["active_mode"] = nullptr;
  if (selected >= 0 && static_cast<std::size_t>(selected) < profiles.size()) {
    const auto& current = profiles[static_cast<std::size_t>(selected)];
    out["selected_profile"] = Utf16ToUtf8(current.Name());
    const auto record = current.Copy();
    const int mode = ActiveModeIndex(*record);
    out["active_mode"] = mode;
    out["dpi_level"] = ModeOf(*record, mode).dpi_level + 1;
  }
  return out;
}

void PrintLiveStatus(const LiveStatusOptions& options) {
  const nlohmann::json status = LiveStatusJson(options);
  if (options.json) {
    std::cout << status.dump(2) << "\n";
    return;
  }
  const auto text = [](const nlohmann::json& value) -> std::string {
    if (value.is_null()) return "unknown";
    if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
  };
  std::string links;
  for (const auto& link : status["links"])
    links += (links.empty() ? "" : ", ") + link.get<std::string>();
  const nlohmann::json& battery = status["battery"];
  std::cout << "source: "
            << (status["source"] == "program" ? "the running program" : "the mouse and the store")
            << "\nlinks: " << (links.empty() ? "none" : links)
            << "\nconnected: " << text(status["connected"])
            << "\nasleep: " << text(status["asleep"])
            << "\nbattery: " << (battery.is_null() ? "unknown" : battery.dump() + "%")
            << "\ncharging: " << text(status["charging"])
            << "\ndpi level: " << text(status["dpi_level"])
            << "\nmode: " << text(status["active_mode"])
            << "\nprofile: " << text(status["selected_profile"])
            << "\nedits waiting: " << text(status["edits_waiting"]) << "\n";
}

void AddLinkOption(CLI::App& command, std::string& link) {
  command
      .add_option("--link", link,
                  "Use only this link: " + kLinkChoices +
                      " (Bluetooth LE through BlueZ); default: all of them")
      ->check(CLI::IsMember(kLinkNames));
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
  AddLinkOption(*apply, apply_options.link);
  apply
      ->add_option("--wait-awake", apply_options.wait_awake_ms,
                   "Milliseconds to wait for the mouse to report over the receiver")
      ->capture_default_str();
  apply->callback([] { Apply(apply_options); });

  static MonitorOptions monitor_options;
  auto* monitor = app.add_subcommand(
      "monitor", "Print link changes and decoded device events until interrupted");
  monitor->add_option("--drivers", monitor_options.drivers, "Folder of the driver libraries");
  AddLinkOption(*monitor, monitor_options.link);
  monitor->add_flag("--json", monitor_options.json, "One JSON object per line");
  monitor->callback([] { Monitor(monitor_options); });

  static LiveStatusOptions status_options;
  auto* status = app.add_subcommand(
      "status",
      "Print the live state: from the running program, or else from the mouse's links "
      "and the store");
  status->add_option("--drivers", status_options.drivers, "Folder of the driver libraries");
  status->add_flag("--json", status_options.json, "Print JSON");
  status->callback([] { PrintLiveStatus(status_options); });
}

}  // namespace ms1::cli
