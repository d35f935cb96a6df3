#include "libs/virtualmouse/report_decode.h"

#include <cstdio>

namespace ms1::vmouse {

namespace {

using nlohmann::json;

std::string Colour(const std::vector<uint8_t>& r, std::size_t at) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", r[at], r[at + 1], r[at + 2]);
  return text;
}

constexpr uint8_t kLongDelayKey = 0x03;

}  // namespace

json DecodeSettings(const std::vector<uint8_t>& r) {
  json levels = json::array();
  for (int n = 0; n < 8; ++n) {
    levels.push_back({{"enabled", (r[5] >> n & 1) != 0},
                      {"high_range", (r[6] >> n & 1) != 0},
                      {"steps39", r[8 + n]},
                      {"steps38", r[16 + n]},
                      {"color", Colour(r, 25 + 3 * n)}});
  }
  return {{"raw", ToHex(r)},
          {"settings_byte_a", r[3]},
          {"settings_byte_b", r[4]},
          {"dpi_level", r[24]},
          {"levels", levels}};
}

json DecodeLighting(const std::vector<uint8_t>& r) {
  return {{"raw", ToHex(r)},
          {"effect", r[3] >> 4},
          {"speed", static_cast<int8_t>(9 - r[4])},
          {"brightness", r[5]},
          {"sleep_timer", r[9]}};
}

json DecodeButtons(const std::vector<uint8_t>& r) {
  json triples = json::array();
  for (int i = 0; i < 18; ++i) {
    triples.push_back({r[3 + 3 * i], r[4 + 3 * i], r[5 + 3 * i]});
  }
  return {{"raw", ToHex(r)}, {"buttons", triples}};
}

json DecodeMacro(const std::vector<uint8_t>& r) {
  json steps = json::array();
  const int pairs = r[28];
  for (int p = 0; p < pairs && p < 50; ++p) {
    const uint8_t time = r[29 + 2 * p];
    const uint8_t key = r[30 + 2 * p];
    if (key == kLongDelayKey && !steps.empty()) {
      steps.back()["long_delay_200ms"] = time;
      continue;
    }
    steps.push_back({{"key", key}, {"press", (time & 0x80) == 0}, {"time_10ms", time & 0x7F}});
  }
  return {{"raw", ToHex(r)},    {"number", r[2]},      {"repeat_mode", r[3]},
          {"loop_count", r[7]}, {"pair_count", r[28]}, {"steps", steps}};
}

int PollingRateHz(uint8_t interval_ms) {
  return interval_ms == 0 ? 0 : 1000 / interval_ms;
}

}  // namespace ms1::vmouse
