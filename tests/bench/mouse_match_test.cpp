// The soak's final verdict against the simulated mouse in-process: a mouse
// that took a profile's full apply agrees with it, and each way the two can
// part is named.
#include "bench/soak_driver/mouse_match.h"

#include <gtest/gtest.h>

#include <functional>

#include "libs/apply_helpers.h"
#include "libs/sample_profiles.h"
#include "libs/virtualmouse/virtual_mouse.h"
#include "model/profile.h"

namespace ms1::soak {
namespace {

using vmouse::VirtualMouse;

// A mouse over the cable that was sent the full apply of `profile`.
void SendFullApply(VirtualMouse& mouse, const ProfileRecord& profile) {
  for (const Report& r : test::ReportsForLink(PlanApply(profile, profile, true), true)) {
    ASSERT_TRUE(mouse.Receive(ConnectionMode::kWired, r.data(), r.size()).accepted);
  }
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

TEST(MouseMatch, EachWayTheMouseAndTheProfilePartIsNamed) {
  struct Case {
    const char* name;
    // Changes the profile after the mouse took it, or the mouse on its own.
    std::function<void(ProfileRecord&, VirtualMouse&)> part;
    std::vector<std::string> named;  // the mismatch lines start with these
  };
  const Case cases[] = {
      {"nothing changed", [](ProfileRecord&, VirtualMouse&) {}, {}},
      {"lighting speed edited, not sent",
       [](ProfileRecord& p, VirtualMouse&) {
         SetSharedSetting(p, SharedSetting::kLightSpeed, (p.modes[0].light_speed + 1) % 10);
       },
       {"mode record 0 lighting", "mode record 1 lighting"}},
      {"a colour of mode record 1 alone",
       [](ProfileRecord& p, VirtualMouse&) { p.modes[1].dpi_color[4] ^= 0x010203; },
       {"mode record 1 settings"}},
      {"a colour of a mode record no apply sends",
       [](ProfileRecord& p, VirtualMouse&) { p.modes[3].dpi_color[4] ^= 0x010203; }, {}},
      {"polling rate",
       [](ProfileRecord& p, VirtualMouse&) {
         SetSharedSetting(p, SharedSetting::kPollingRate, (p.modes[0].polling_rate + 1) % 4);
       },
       {"polling interval"}},
      {"mode switched on the mouse, not in the profile",
       [](ProfileRecord&, VirtualMouse& m) { m.PressMode(3); }, {"active mode"}},
      {"mode switched on the mouse and taken into the profile",
       [](ProfileRecord& p, VirtualMouse& m) {
         m.PressMode(3);
         p.active_mode = 3;
       },
       {}},
      {"level switched on the mouse, not in the profile",
       [](ProfileRecord& p, VirtualMouse& m) { m.PressDpi(p.modes[0].dpi_level == 0 ? 2 : 1); },
       {"mode record 0 settings", "mode record 1 settings"}},
      {"level switched on the mouse and taken into the profile",
       [](ProfileRecord& p, VirtualMouse& m) {
         m.PressDpi(7);
         SetSharedSetting(p, SharedSetting::kDpiLevel, 6);
       },
       {}},
      {"a button's function",
       [](ProfileRecord& p, VirtualMouse&) {
         ButtonRecord b = ButtonOf(ModeOf(p, 0), 12);
         b.function_code = b.function_code == 71 ? 69 : 71;  // mute, volume up
         StoreButtonAssignment(p, 12, b);
       },
       {"mode record 0 buttons"}},
      {"a macro's steps",
       [](ProfileRecord& p, VirtualMouse&) {
         std::mt19937 random(5);
         test::SetMacroButton(p, 2, random, 3);
       },
       {"macro 1"}},
      {"a macro more than the mouse has",
       [](ProfileRecord& p, VirtualMouse&) {
         std::mt19937 random(7);
         test::SetMacroButton(p, 0, random, 4);
       },
       {"macro 1", "macro 2", "macro 3", "mode record 0 buttons", "mode record 1 buttons"}},
  };
  for (const Case& c : cases) {
    auto profile = test::SampleProfile(11, 2);
    VirtualMouse mouse;
    mouse.SetPlugged(ConnectionMode::kWired, true);
    SendFullApply(mouse, *profile);
    c.part(*profile, mouse);
    const std::vector<std::string> found = MouseMismatches(*profile, mouse.StateJson());
    ASSERT_EQ(found.size(), c.named.size()) << c.name << ":\n" << Joined(found);
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].rfind(c.named[i] + ":", 0), 0u) << c.name << ": " << found[i];
    }
  }
}

TEST(MouseMatch, AMouseThatWasSentNothingDiffersEverywhere) {
  const auto profile = test::SampleProfile(3, 1);
  VirtualMouse mouse;
  const std::string all = Joined(MouseMismatches(*profile, mouse.StateJson()));
  for (const char* part : {"mode record 0 settings: the mouse holds null",
                           "mode record 1 lighting", "mode record 1 buttons", "polling interval",
                           "macro 1: the mouse holds null"}) {
    EXPECT_NE(all.find(part), std::string::npos) << part << " in\n" << all;
  }
  EXPECT_EQ(MouseMismatches(*profile, nullptr), std::vector<std::string>{"no state from the mouse"});
}

}  // namespace
}  // namespace ms1::soak
