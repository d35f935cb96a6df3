// The soak's small parts: its command line and its memory figures.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/soak_driver/memory_use.h"
#include "bench/soak_driver/soak_options.h"

namespace ms1::soak {
namespace {

bool Parse(std::vector<std::string> words, SoakOptions& options) {
  words.insert(words.begin(), "ms1_soak");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  std::string error;
  return ParseSoakOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(SoakOptions, ReadsItsOwnOptionsAndLeavesQtsAlone) {
  struct Case {
    std::vector<std::string> words;
    bool valid;
    int seconds;
    uint64_t seed;  // 0: drawn, so anything but 0
    bool bluetooth;
    long max_growth_kb;
  };
  const Case cases[] = {
      {{}, true, 600, 0, false, kDefaultMaxGrowthKb},
      {{"--seconds", "30", "--seed", "42"}, true, 30, 42, false, kDefaultMaxGrowthKb},
      {{"--bluetooth", "--max-growth-kb", "2048", "-platform", "xcb"}, true, 600, 0, true, 2048},
      {{"--seconds", "0"}, false, 0, 0, false, 0},
      {{"--seconds", "ten"}, false, 0, 0, false, 0},
      {{"--seed", "-1"}, false, 0, 0, false, 0},
  };
  for (const Case& c : cases) {
    const std::string line = testing::PrintToString(c.words);
    SoakOptions options;
    ASSERT_EQ(Parse(c.words, options), c.valid) << line;
    if (!c.valid) continue;
    EXPECT_EQ(options.seconds, c.seconds) << line;
    if (c.seed != 0) EXPECT_EQ(options.seed, c.seed) << line;
    EXPECT_NE(options.seed, 0u) << line << ": a run always has a seed to print";
    EXPECT_EQ(options.bluetooth, c.bluetooth) << line;
    EXPECT_EQ(options.max_growth_kb, c.max_growth_kb) << line;
  }
}

TEST(MemoryUse, FollowsWhatTheProcessTouches) {
  const MemoryUse before = ReadMemoryUse();
  ASSERT_GT(before.rss_kb, 0);
  ASSERT_GT(before.pss_kb, 0);
  EXPECT_LE(before.pss_kb, before.rss_kb);
  // Large beside what sharing moves: the test's share of the libraries it
  // maps drops while parallel tests load the same ones, by megabytes.
  constexpr std::size_t kTouched = 256u << 20;
  auto block = std::make_unique<char[]>(kTouched);
  std::memset(block.get(), 1, kTouched);
  const MemoryUse after = ReadMemoryUse();
  EXPECT_GE(after.rss_kb - before.rss_kb, static_cast<long>(kTouched / 1024) * 9 / 10);
  EXPECT_GE(after.pss_kb - before.pss_kb, static_cast<long>(kTouched / 1024) * 9 / 10);
  EXPECT_EQ(block[kTouched - 1], 1);
}

}  // namespace
}  // namespace ms1::soak
