// What happens on the mouse's side: its buttons, its battery and sleep, and
// its links coming and going. Presses are made only while a link carries
// them, and each waits until the page shows it, as the mouse's state depends
// on the page having taken it.
#include <string>

#include "bench/soak_driver/soak_action.h"
#include "support/qt_wait.h"

namespace ms1::soak {
namespace {

constexpr int kDpiLevels = 8;
constexpr int kModes = 5;
constexpr int kBatteryLevels = 10;
constexpr int kEventTimeoutMs = 5000;

// Whether the current profile shows `holds` within the time an event needs.
bool PageTakes(SoakContext& c, const std::function<bool(const ProfileRecord&)>& holds) {
  return test::WaitFor(
      [&] {
        const auto current = c.page.CurrentProfile();
        return current != nullptr && holds(*current);
      },
      kEventTimeoutMs);
}

bool PressDpi(SoakContext& c) {
  if (!c.mouse.AnyPlugged()) return false;
  const int level = 1 + c.Draw(kDpiLevels);
  c.mouse.Request("press dpi " + std::to_string(level));
  if (!PageTakes(c, [level](const ProfileRecord& p) { return p.modes[0].dpi_level == level - 1; })) {
    c.Note("DPI press not taken by the page");
  }
  return true;
}

bool PressMode(SoakContext& c) {
  if (!c.mouse.AnyPlugged()) return false;
  const int mode = c.Draw(kModes);
  c.mouse.Request("press mode " + std::to_string(mode));
  if (!PageTakes(c, [mode](const ProfileRecord& p) { return p.active_mode == mode; })) {
    c.Note("mode press not taken by the page");
  }
  return true;
}

bool ReportBattery(SoakContext& c) {
  const bool asleep = c.Draw(4) == 0;
  c.mouse.Request("battery " + std::to_string(1 + c.Draw(kBatteryLevels)) + (asleep ? " asleep" : ""));
  return true;
}

// One link changes; with none plugged, one is plugged, so that the run spends
// most of its time with the mouse reachable.
bool ChangePlug(SoakContext& c) {
  const std::vector<ConnectionMode> links = c.mouse.Links();
  const ConnectionMode link =
      links[static_cast<std::size_t>(c.Draw(static_cast<int>(links.size())))];
  const bool plug = !c.mouse.AnyPlugged() || !c.mouse.Plugged(link);
  if (!c.mouse.SetPlugged(link, plug)) {
    c.Note(std::string("page did not follow ") + (plug ? "plugging " : "unplugging ") +
           LinkName(link));
  }
  return true;
}

}  // namespace

std::vector<SoakAction> MouseActions() {
  return {
      {"DPI press", 3, PressDpi},
      {"mode press", 2, PressMode},
      {"battery", 1, ReportBattery},
      {"sleep", 1, [](SoakContext& c) { return !c.mouse.Request("sleep").is_null(); }},
      {"wake", 2, [](SoakContext& c) { return !c.mouse.Request("wake").is_null(); }},
      {"plug change", 3, ChangePlug},
  };
}

}  // namespace ms1::soak
