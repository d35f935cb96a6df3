#include "model/apply_plan.h"

#include <algorithm>
#include <cstring>

#include "model/macro_report.h"
#include "model/profile.h"
#include "model/settings_reports.h"

namespace ms1 {

namespace {

template <typename T, std::size_t N>
bool SameArray(const T (&a)[N], const T (&b)[N]) {
  return std::equal(std::begin(a), std::end(a), std::begin(b));
}

bool SettingsDiffer(const ModeRecord& c, const ModeRecord& a) {
  return c.dpi_level != a.dpi_level || c.dpi_reserved != a.dpi_reserved ||
         c.settings_byte_a != a.settings_byte_a || c.settings_byte_b != a.settings_byte_b ||
         !SameArray(c.dpi_value, a.dpi_value) || !SameArray(c.dpi_value_alt, a.dpi_value_alt) ||
         !SameArray(c.dpi_enabled, a.dpi_enabled) || !SameArray(c.dpi_color, a.dpi_color);
}

bool LightingDiffer(const ModeRecord& c, const ModeRecord& a) {
  return c.light_effect != a.light_effect || c.light_reserved_a != a.light_reserved_a ||
         c.light_speed != a.light_speed || c.light_brightness != a.light_brightness ||
         c.light_reserved_c != a.light_reserved_c || c.light_color != a.light_color ||
         c.sleep_timer != a.sleep_timer;
}

bool ButtonsDiffer(const ModeRecord& c, const ModeRecord& a) {
  constexpr std::size_t kAreaSize = kModeRecordSize - kButtonAreaOffset;
  const auto* cb = reinterpret_cast<const unsigned char*>(&c) + kButtonAreaOffset;
  const auto* ab = reinterpret_cast<const unsigned char*>(&a) + kButtonAreaOffset;
  return std::memcmp(cb, ab, kAreaSize) != 0;
}

}  // namespace

SectionFlags DiffProfiles(const ProfileRecord& current, const ProfileRecord& last_applied) {
  SectionFlags flags;
  for (const int k : {ActiveModeIndex(current), 0, 1}) {
    const ModeRecord& c = ModeOf(current, k);
    const ModeRecord& a = ModeOf(last_applied, k);
    flags.settings = flags.settings || SettingsDiffer(c, a);
    flags.lighting = flags.lighting || LightingDiffer(c, a);
    flags.polling_rate = flags.polling_rate || c.polling_rate != a.polling_rate;
    flags.buttons = flags.buttons || ButtonsDiffer(c, a);
  }
  return flags;
}

MacroNumbering NumberMacros(const ProfileRecord& profile) {
  MacroNumbering numbering{};
  uint8_t counter = 0;
  for (int i = 0; i < kButtonCount; ++i) {
    if (ButtonOf(ModeOf(profile, 0), i).function_code == kFunctionMacro) {
      numbering[0][static_cast<std::size_t>(i)] = ++counter;
    }
  }
  std::fill(numbering.begin() + 1, numbering.end(), numbering[0]);
  return numbering;
}

ApplyPlan PlanApply(const ProfileRecord& current, const ProfileRecord& last_applied,
                    bool force_full) {
  ApplyPlan plan;
  plan.forced = force_full;
  plan.sections = force_full ? SectionFlags::All() : DiffProfiles(current, last_applied);
  const SectionFlags& s = plan.sections;
  auto& out = plan.reports;

  out.push_back(EncodeModeSelectReport(current));
  for (int k = 0; k <= 1; ++k) {
    if (s.settings) out.push_back(EncodeSettingsReport(current, k));
    if (s.lighting) out.push_back(EncodeLightingReport(current, k));
    if (s.polling_rate) {
      out.push_back(EncodePollingReport(current, k, 1));
      out.push_back(EncodePollingReport(current, k, 2));
    }
  }
  if (s.buttons) {
    plan.macro_numbers = NumberMacros(current);
    const ModeRecord& mode0 = ModeOf(current, 0);
    for (int i = 0; i < kButtonCount; ++i) {
      const uint8_t number = plan.macro_numbers[0][static_cast<std::size_t>(i)];
      if (number != 0) out.push_back(EncodeMacroReport(number, ButtonOf(mode0, i)));
    }
    out.push_back(EncodeButtonReport(current, 0, plan.macro_numbers[0]));
    out.push_back(EncodeButtonReport(current, 1, plan.macro_numbers[1]));
  }
  out.push_back(EncodeModeSelectReport(current));
  return plan;
}

}  // namespace ms1
