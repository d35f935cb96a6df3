// The whole promise, checked at random: whatever the user edits, presses on
// the mouse, plugs, pulls, lets sleep or quits, and whatever reports the mouse
// refuses or leaves unanswered, once things are quiet the mouse holds what
// the window shows (or the window says what still waits), and the store on
// disk holds the profiles in memory.
//
// The real page model, apply engine, transport, event handler and connection
// manager run on the stand-in mouse in this process. One thread plays both
// the interface thread and the worker: the worker's loop is the few lines of
// Drain(), and what the interface thread does while an apply sleeps between
// two reports happens in the pacer's pauses, which take no time.
//
// MS1_PROPERTY_SEQUENCES sets how many sequences run (bench/ runs thousands),
// MS1_PROPERTY_SEED the first seed; a failure names the seed that reproduces it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <random>

#include "../libs/mouse_holds.h"
#include "../libs/sample_profiles.h"
#include "device/apply_engine.h"
#include "device/connection_manager.h"
#include "device/device_event_handler.h"
#include "device/messages.h"
#include "device/report_transport.h"
#include "fakes.h"
#include "libs/virtualmouse/virtual_mouse.h"
#include "link_fakes.h"
#include "model/data_folder_stores.h"
#include "model/profile_store.h"
#include "model/unsent_edits_mark.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

using enum ConnectionMode;
using vmouse::LinkEvent;

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? static_cast<unsigned>(std::strtoul(text, nullptr, 10))
                                          : fallback;
}

// Hands one link's reports to the stand-in mouse; what the mouse answers is
// queued for the interface thread.
class MouseEnd final : public FeatureSink, public BleWriter {
 public:
  MouseEnd(vmouse::VirtualMouse& mouse, ConnectionMode link, std::deque<LinkEvent>& events)
      : mouse_(mouse), link_(link), events_(events) {}
  int32_t SetFeature(const uint8_t* report, int32_t length) override {
    const vmouse::Delivery d = mouse_.Receive(link_, report, static_cast<std::size_t>(length));
    events_.insert(events_.end(), d.events.begin(), d.events.end());
    return d.result;
  }
  int WriteReport(const uint8_t* report, int length) override { return SetFeature(report, length); }

 private:
  vmouse::VirtualMouse& mouse_;
  ConnectionMode link_;
  std::deque<LinkEvent>& events_;
};

// One run of the program, from its start to its quit.
struct ProgramRun {
  explicit ProgramRun(const std::filesystem::path& data, vmouse::VirtualMouse& mouse)
      : store(data),
        wired(mouse, kWired, events),
        receiver(mouse, kReceiver, events),
        ble(mouse, kBluetooth, events) {
    transport.SetTrace([](const std::string&) {});
    transport.SetWired(&wired);
    transport.SetReceiver(&receiver);
    transport.SetBluetooth(&ble);
  }

  std::deque<LinkEvent> events;  // answered by the mouse, for the interface thread
  LinkState links;
  test::RecordingLinkView view;
  test::FakeLinkHost host;
  test::RecordingPacer pacer;
  PageModel model;
  test::RecordingHost apply_host;
  DataFolderStores store;
  MouseEnd wired, receiver, ble;
  ReportTransport transport{links, pacer};
  ApplyEngine engine{model, links, transport, apply_host, store};
  DeviceEventHandler handler{model, links, view, host, store, [this] { RequestApply(); },
                             [this] { engine.RefreshUnsentNotice(); }};
  FeatureDrivers drivers;  // none loaded: the links arrive as plug events
  ChargeDisplay charge{view};
  test::RecordingBluetooth bluetooth;
  ConnectionManager manager{links, drivers, view, host, charge, bluetooth,
                            [this](DeviceEvent e) { handler.HandleDeviceEvent(e); },
                            [] { return false; }, [this] { SendWhatWaits(); }};
  bool apply_wanted = false;
  bool starting = true;  // links found at start are no arrival

  void SendWhatWaits() {
    if (!starting && model.MayHaveUnsentEdits()) RequestApply();
  }
  // As the session's: noted, saved at once (the saver), applied by the next Drain.
  void RequestApply() {
    model.NoteApplyWanted();
    model.SaveStoreIfChanged(store);
    apply_wanted = true;
  }
};

class MouseFollowsWindow {
 public:
  MouseFollowsWindow(unsigned seed, const std::filesystem::path& data)
      : random_(seed), data_(data) {
    mouse_.SetPlugged(kWired, false);
    ProfileList profiles;
    for (unsigned p = 0; p < 3; ++p) profiles.push_back(test::SampleProfile(seed * 3 + p, 1));
    std::string error;
    EXPECT_TRUE(SaveProfileStore(data_, profiles, 0, error)) << error;
    for (const ConnectionMode link : kAllLinks) {
      if (Chance(2)) mouse_.SetPlugged(link, true);
    }
    // As a run that could not send the stored profile would have left it.
    EXPECT_TRUE(SetUnsentEditsMark(data_, true, error)) << error;
    Start();
  }

  void Step() {
    Act(false);
    Drain();
    if (Chance(4)) CheckWhenQuiet();
  }

  // Nothing more happens now: the applies that follow run to their end.
  void CheckWhenQuiet() {
    acting_ = true;
    Deliver(mouse_.Heartbeat());  // a wireless mouse that is awake says so
    Drain();
    acting_ = false;
    CheckStore();
    if (mouse_.Asleep() || !(Plugged(kWired) || Plugged(kReceiver) || Plugged(kBluetooth))) {
      return;
    }
    const auto current = run_->model.With([](PageState& s) { return CopyProfile(*s.Current()); });
    std::string missing = test::MissingFromMouse(mouse_.StateJson(), *current);
    // Only the cable and the receiver carry a polling rate.
    if (!Plugged(kWired) && !Plugged(kReceiver)) {
      if (const auto at = missing.find("polling rate; "); at != std::string::npos) {
        missing.erase(at, std::strlen("polling rate; "));
      }
    }
    if (run_->apply_host.unsent_shown) {
      EXPECT_TRUE(run_->model.HasUnsentEdits()) << "the window says edits wait, but none do"
                                                << History();
    } else {
      EXPECT_EQ(missing, "") << "the mouse differs and the window says nothing" << History();
    }
  }

 private:
  bool Chance(unsigned one_in) { return random_() % one_in == 0; }
  void Note(std::string what) { history_.push_back(std::move(what)); }
  std::string History() const {
    std::string text = "\nwhat happened:";
    for (const std::string& line : history_) text += "\n  " + line;
    return text;
  }
  ConnectionMode AnyLink() { return static_cast<ConnectionMode>(random_() % 3); }
  bool Plugged(ConnectionMode link) const { return mouse_.Plugged(link); }
  std::string StateLine() const {
    std::string line = " [";
    for (const ConnectionMode link : kAllLinks) {
      if (Plugged(link)) line += std::string(LinkName(link)) + " ";
    }
    return line + (mouse_.Asleep() ? "asleep]" : "awake]");
  }

  void Start() {
    run_ = std::make_unique<ProgramRun>(data_, mouse_);
    run_->pacer.on_pause = [this](std::size_t) { WhileTheWorkerSleeps(); };
    run_->model.With([&](PageState& s) {
      int32_t index = 0;
      LoadProfileStore(data_, s.profiles, index, u"P");
      s.selected = index;
      s.force_full_apply = true;
    });
    const bool unsent_marked = UnsentEditsMarked(data_);
    run_->model.RememberLoaded(unsent_marked);
    // The program finds the links that are there, and sends what the last
    // run left unsent.
    for (const ConnectionMode link : kAllLinks) {
      if (Plugged(link)) Dispatch({link, LinkEvent::Kind::kPlug, 0, 1});
    }
    run_->host.RunDelayed();
    run_->starting = false;
    if (unsent_marked && run_->links.AnyLinkOpen()) run_->SendWhatWaits();
    Drain();
  }

  // The page's shutdown: the worker ends, what changed is saved.
  void Quit() {
    run_->links.wiredState = link_presence::kRemoved;
    run_->links.receiverState = link_presence::kRemoved;
    run_->links.bleConnected = 0;
    run_->model.SaveStoreIfChanged(run_->store);
    run_.reset();
  }

  // The page's shutdown while an apply runs: no link carries a report from
  // here, so the apply ends at its next one; then the program ends as above.
  void QuitMidApply() {
    run_->links.wiredState = link_presence::kRemoved;
    run_->links.receiverState = link_presence::kRemoved;
    run_->links.bleConnected = 0;
    quitting_ = true;
  }

  void Act(bool mid_apply) {
    const unsigned kind = random_() % 8;
    static constexpr const char* kKinds[] = {"edit",  "press",   "plug",    "sleep/wake",
                                             "fault", "timeout", "profile", "quit and start"};
    Note(std::string(mid_apply ? "  during an apply: " : "") + kKinds[kind] + StateLine());
    switch (kind) {
      case 0: Edit(); break;
      case 1: Press(); break;
      case 2: Plug(AnyLink()); break;
      case 3: Deliver(Chance(2) ? mouse_.Sleep() : mouse_.Wake()); break;
      case 4: Fault(); break;
      case 5: Timeout(); break;
      case 6: SwitchProfile(); break;
      case 7:
        if (mid_apply) {
          QuitMidApply();
        } else {
          Quit();
          Start();
        }
        break;
    }
  }

  void Edit() {
    run_->model.With([&](PageState& s) {
      ProfileRecord& p = *s.Current();
      switch (random_() % 6) {
        case 0: SetSharedSetting(p, SharedSetting::kLightBrightness, random_() % 11); break;
        case 1: SetSharedSetting(p, SharedSetting::kDpiValue, 1 + random_() % 650, random_() % 8); break;
        case 2: SetSharedSetting(p, SharedSetting::kPollingRate, random_() % 4); break;
        case 3: SetSharedSetting(p, SharedSetting::kDpiLevel, random_() % 8); break;
        case 4: p.active_mode = static_cast<int32_t>(random_() % 2); break;
        case 5: test::SetMacroButton(p, 2 + random_() % 3, random_, random_() % 12); break;
      }
    });
    run_->RequestApply();
  }

  void SwitchProfile() {
    run_->model.With([&](PageState& s) {
      s.selected = static_cast<int>(random_() % s.profiles.size());
      s.force_full_apply = true;
    });
    run_->RequestApply();
  }

  // A press with no link to tell of it changes the mouse behind the program's
  // back, which no program can see; those are left out.
  void Press() {
    if (!Plugged(kWired) && !Plugged(kReceiver) && !Plugged(kBluetooth)) return;
    Deliver(Chance(2) ? mouse_.PressMode(static_cast<int>(random_() % 5))
                      : mouse_.PressDpi(static_cast<int>(1 + random_() % 8)));
  }

  void Plug(ConnectionMode link) { Deliver(mouse_.SetPlugged(link, !Plugged(link))); }

  void Fault() {
    if (Chance(2)) {
      mouse_.RefuseReports(static_cast<int>(1 + random_() % 3));
    } else {
      mouse_.LoseAcknowledgements(static_cast<int>(1 + random_() % 3));
    }
  }

  // Six seconds without a status over the receiver.
  void Timeout() {
    if (run_->host.running_timers.count(timer::kReceiverHeartbeat) != 0) {
      run_->manager.OnHeartbeatTimeout();
    }
  }

  void WhileTheWorkerSleeps() {
    DispatchQueued();
    if (Chance(2)) run_->host.RunDelayed();  // an arrival settles during the apply
    if (acting_ || !Chance(6)) return;
    acting_ = true;
    Act(true);
    acting_ = false;
  }

  void Deliver(const std::vector<LinkEvent>& events) {
    for (const LinkEvent& e : events) run_->events.push_back(e);
    DispatchQueued();
  }

  void DispatchQueued() {
    while (!run_->events.empty()) {
      const LinkEvent e = run_->events.front();
      run_->events.pop_front();
      Dispatch(e);
    }
  }

  void Dispatch(const LinkEvent& e) {
    ConnectionManager& manager = run_->manager;
    const bool plug = e.kind == LinkEvent::Kind::kPlug;
    const DeviceEvent event = plug ? PlugEvent(e.value) : DeviceEvent{e.code, e.value};
    if (e.link == kWired) manager.OnWiredLink(event);
    if (e.link == kReceiver) manager.OnReceiverLink(event);
    if (e.link == kBluetooth && plug) {
      manager.OnBluetoothChange(e.value != 0 ? LinkChange::kArrived : LinkChange::kRemoved);
    } else if (e.link == kBluetooth) {
      run_->handler.HandleDeviceEvent(event);
    }
  }

  // The interface thread's work, then the worker's applies, until both are
  // idle.
  void Drain() {
    for (int round = 0; round < 200; ++round) {
      DispatchQueued();
      run_->host.RunDelayed();
      run_->host.RunInterfaceWork();
      if (!std::exchange(run_->apply_wanted, false)) {
        if (run_->host.delayed.empty() && run_->host.interface_work.empty()) return;
        continue;
      }
      if (!run_->links.AnyLinkOpen()) {
        run_->engine.NoteNoLink();
      } else if (run_->engine.ApplyConfiguration() == ApplyOutcome::kSendAgain) {
        run_->apply_wanted = true;
      }
      if (std::exchange(quitting_, false)) {
        Quit();
        Start();
        return;
      }
    }
    ADD_FAILURE() << "the applies never came to rest";
  }

  void CheckStore() {
    ProfileList stored;
    int32_t selected = -1;
    LoadProfileStore(data_, stored, selected, u"P");
    const bool same = run_->model.With([&](PageState& s) {
      if (stored.size() != s.profiles.size() || selected != s.selected) return false;
      for (std::size_t i = 0; i < stored.size(); ++i) {
        if (std::memcmp(stored[i].Copy().get(), s.profiles[i].Copy().get(),
                        sizeof(ProfileRecord)) != 0) {
          return false;
        }
      }
      return true;
    });
    EXPECT_TRUE(same) << "the store on disk differs from the profiles in memory" << History();
  }

  std::mt19937 random_;
  std::filesystem::path data_;
  vmouse::VirtualMouse mouse_;
  std::unique_ptr<ProgramRun> run_;
  bool acting_ = false;
  bool quitting_ = false;
  std::vector<std::string> history_;
};

// Thousands of store saves with their fsync: on the memory file system when
// the machine has one.
std::filesystem::path DataFolder() {
  std::string pattern = "/dev/shm/ms1-mouse-follows-window-XXXXXX";
  if (::access("/dev/shm", W_OK) == 0 && ::mkdtemp(pattern.data()) != nullptr) return pattern;
  return test::MakeTempDir("mouse-follows-window");
}

// One thread: ThreadSanitizer has nothing to find here and makes each
// sequence twenty times slower, so it runs only a few.
#if defined(__SANITIZE_THREAD__)
constexpr unsigned kSequences = 20;
#else
constexpr unsigned kSequences = 200;
#endif

TEST(MouseFollowsWindowTest, AtEveryQuietPointTheMouseAndTheDiskHoldWhatTheWindowShows) {
  const unsigned first = EnvNumber("MS1_PROPERTY_SEED", 1);
  const unsigned sequences = EnvNumber("MS1_PROPERTY_SEQUENCES", kSequences);
  for (unsigned seed = first; seed < first + sequences; ++seed) {
    SCOPED_TRACE("MS1_PROPERTY_SEED=" + std::to_string(seed) + " MS1_PROPERTY_SEQUENCES=1");
    const std::filesystem::path data = DataFolder();
    {
      MouseFollowsWindow sequence(seed, data);
      for (int step = 0; step < 25 && !::testing::Test::HasFailure(); ++step) sequence.Step();
      if (!::testing::Test::HasFailure()) sequence.CheckWhenQuiet();
    }
    test::RemoveTree(data);
    if (::testing::Test::HasFailure()) break;
  }
}

}  // namespace
}  // namespace ms1
