// What the mouse sends on its own, over every link and in any order: the
// driver libraries' plug and data messages (cable and receiver), the raw
// event reports their readers decode, Bluetooth LE notifications, and the
// link changes and timer ends around them. Whatever arrives, the profile
// keeps values the page and the reports can hold, what is saved is what is
// shown, and the presence follows the links.
#include <cstring>
#include <memory>

#include "../device/link_fakes.h"
#include "device/charge_display.h"
#include "device/connection_manager.h"
#include "device/device_event_handler.h"
#include "device/page_model.h"
#include "fuzz_support.h"
#include "libs/featuredriver/event_report.h"
#include "model/profile.h"

namespace {

using namespace ms1;

// Profile records are large, and fresh ones are slow under ASan (each a new
// mapping): the model and the saved copy live across inputs and are reset.
class KeptStore final : public ProfileStoreWriter {
 public:
  bool saved = false;
  const ProfileRecord& copy() const { return *copy_; }
  bool Save(const ProfileList& profiles, int selected) override {
    *copy_ = *profiles.at(static_cast<std::size_t>(selected));
    saved = true;
    return true;
  }

 private:
  std::unique_ptr<ProfileRecord> copy_ = std::make_unique<ProfileRecord>();
};

// The page's model as the program starts it: one default profile, nothing sent.
PageModel& FreshModel() {
  static PageModel model;
  static const auto fresh = CreateProfile(u"Profile 1");
  model.With([](PageState& s) {
    if (s.profiles.empty()) s.profiles.push_back(CopyProfile(*fresh));
    *s.profiles[0] = *fresh;
    s.selected = 0;
    std::memset(s.last_applied.get(), 0, sizeof(ProfileRecord));
    s.force_full_apply = false;
  });
  return model;
}

KeptStore& EmptyStore() {
  static KeptStore store;
  store.saved = false;
  return store;
}

struct Page {
  LinkState links;
  FeatureDrivers drivers;  // no libraries: the messages come from the input
  test::RecordingLinkView view;
  test::FakeLinkHost host;
  ChargeDisplay charge{view};
  test::RecordingBluetooth bluetooth;
  PageModel& model = FreshModel();
  KeptStore& store = EmptyStore();
  DeviceEventHandler handler{model, links, view, host, store};
  ConnectionManager manager{links,  drivers, view, host, charge, bluetooth,
                            [this](DeviceEvent e) { handler.HandleDeviceEvent(e); },
                            [] { return false; }};

  Page() { manager.Start("/nonexistent/", Ms1WindowHandle{nullptr, nullptr}); }
};

// The decoded event carries the bytes it came from.
void RequireRoundTrip(std::span<const uint8_t> bytes, const std::optional<DeviceEvent>& e) {
  fuzz::Require(e.has_value() == (bytes.size() >= kEventBytes), "an event read from too few bytes");
  if (!e) return;
  const auto encoded = EncodeDeviceEvent(*e);
  fuzz::Require(std::equal(encoded.begin(), encoded.end(), bytes.begin()),
                "an event does not encode back to its bytes");
  fuzz::Require(!DescribeDeviceEvent(*e).empty(), "an event without a description");
}

void OnRawReport(Page& page, bool wired, std::span<const uint8_t> report) {
  const auto e = hiddriver::ParseEventReport(report.data(), report.size());
  RequireRoundTrip(report, e);
  if (!e) return;
  // The driver posts what it read as a data message.
  const DeviceEvent posted = DataEvent(e->code, e->value);
  fuzz::Require(posted == *e, "a data message changes the event it carries");
  if (wired) page.manager.OnWiredLink(posted);
  else page.manager.OnReceiverLink(posted);
}

void OnNotification(Page& page, std::span<const uint8_t> value) {
  RequireRoundTrip(value, ParseBluetoothNotification(value));
  page.handler.OnBluetoothNotification(value);
  const std::size_t queued = page.host.interface_work.size();
  fuzz::Require(queued == (value.size() >= kEventBytes ? 1u : 0u),
                "a notification was not handed to the interface thread exactly once");
  page.host.RunInterfaceWork();
}

void OnMessage(Page& page, fuzz::InputReader& in) {
  switch (in.Byte() % 9) {
    case 0: page.manager.OnWiredLink(PlugEvent(in.Byte() % 3)); break;
    case 1: page.manager.OnReceiverLink(PlugEvent(in.Byte() % 3)); break;
    // An arrival counts once its settling pause is over: now or after more input.
    case 2: page.manager.OnWiredLink(DataEvent(in.Long(), static_cast<int32_t>(in.Long()))); break;
    case 3: page.manager.OnReceiverLink(DataEvent(in.Long(), static_cast<int32_t>(in.Long()))); break;
    case 4: OnRawReport(page, true, in.Run(16)); break;
    case 5: OnRawReport(page, false, in.Run(16)); break;
    case 6: OnNotification(page, in.Run(16)); break;
    case 7: page.manager.OnBluetoothLink(in.Byte() % 2 == 1); break;
    default:
      page.host.RunDelayed();
      page.manager.OnHeartbeatTimeout();
      page.charge.Tick();
      break;
  }
}

// The settings the mouse reports are shared by the five mode records and
// must stay in the ranges the page's options and the reports hold.
void RequireProfileSound(Page& page) {
  page.model.With([&](PageState& s) {
    const ProfileRecord& p = *s.Current();
    fuzz::Require(p.active_mode >= 0 && p.active_mode < kModeCount, "active mode out of range");
    for (const ModeRecord& mode : p.modes) {
      fuzz::Require(mode.dpi_level >= 0 && mode.dpi_level < kDpiLevelCount, "DPI level out of range");
      fuzz::Require(mode.polling_rate >= 0 && mode.polling_rate <= 3, "polling rate out of range");
      fuzz::Require(mode.dpi_level == p.modes[0].dpi_level &&
                        mode.polling_rate == p.modes[0].polling_rate,
                    "mode records disagree on a shared setting");
    }
    if (page.store.saved) {
      fuzz::Require(fuzz::SameBytes(page.store.copy(), p), "the saved profile is not the shown one");
    }
  });
}

void RequireLinksSound(Page& page) {
  const LinkState& links = page.links;
  fuzz::Require((links.devicePresent != 0) == links.AnyLinkOpen(),
                "the presence does not follow the links");
  fuzz::Require(page.handler.battery_level() >= 0 && page.handler.battery_level() <= 10,
                "battery level out of range");
  fuzz::Require(page.view.ring >= 0 && page.view.ring <= 100, "power ring out of range");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Page page;
  fuzz::InputReader in({data, size});
  while (!in.empty()) {
    OnMessage(page, in);
    RequireProfileSound(page);
    RequireLinksSound(page);
    page.view.calls.clear();
    page.host.posts.clear();
  }
  return 0;
}
