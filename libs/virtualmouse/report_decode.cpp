#include "libs/virtualmouse/report_decode.h"

#include <cstdio>

#include "model/protocol/button_layout.h"
#include "model/protocol/lighting_layout.h"
#include "model/protocol/macro_layout.h"
#include "model/protocol/settings_layout.h"

namespace ms1::vmouse {

namespace {

using nlohmann::json;

std::string Colour(const std::vector<uint8_t>& r, std::size_t at) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", r[at], r[at + 1], r[at + 2]);
  return text;
}

bool Bit(uint8_t mask, int n) {
  return (mask >> n & 1) != 0;
}

}  // namespace

json DecodeSettings(const std::vector<uint8_t>& r) {
  using namespace settings_layout;
  json levels = json::array();
  for (int n = 0; n < kLevelCount; ++n) {
    levels.push_back({{"enabled", Bit(r[kEnableMask], n)},
                      {"high_range", Bit(r[kHighRangeMask], n)},
                      {"steps39", r[kFirstStepCounts + n]},
                      {"steps38", r[kSecondStepCounts + n]},
                      {"color", Colour(r, ColorOf(n))}});
  }
  return {{"raw", ToHex(r)},
          {"settings_byte_a", r[kSettingsByteA]},
          {"settings_byte_b", r[kSettingsByteB]},
          {"dpi_level", r[kDpiLevel]},
          {"levels", levels}};
}

json DecodeLighting(const std::vector<uint8_t>& r) {
  using namespace lighting_layout;
  return {{"raw", ToHex(r)},
          {"effect", r[kEffect] >> kEffectShift},
          {"speed", static_cast<int8_t>(kSpeedBase - r[kSpeed])},
          {"brightness", r[kBrightness]},
          {"sleep_timer", r[kSleepTimer]}};
}

json DecodeButtons(const std::vector<uint8_t>& r) {
  using namespace button_layout;
  json triples = json::array();
  for (int i = 0; i < kTripleCount; ++i) {
    triples.push_back({r[TripleOf(i)], r[TripleOf(i) + 1], r[TripleOf(i) + 2]});
  }
  return {{"raw", ToHex(r)}, {"buttons", triples}};
}

json DecodeMacro(const std::vector<uint8_t>& r) {
  using namespace macro_layout;
  using namespace macro_pair;
  json steps = json::array();
  const int pairs = r[kPairCount];
  for (int p = 0; p < pairs && p < kPairCapacity; ++p) {
    const uint8_t time = r[PairAt(p)];
    const uint8_t key = r[PairAt(p) + 1];
    if (key == kLongDelayKey && !steps.empty()) {
      steps.back()["long_delay_200ms"] = time;
      continue;
    }
    steps.push_back(
        {{"key", key}, {"press", (time & kReleaseBit) == 0}, {"time_10ms", time & kTimeMask}});
  }
  return {{"raw", ToHex(r)},
          {"number", r[kNumber]},
          {"repeat_mode", r[kRepeatMode]},
          {"loop_count", r[kLoopCount]},
          {"pair_count", r[kPairCount]},
          {"steps", steps}};
}

}  // namespace ms1::vmouse
