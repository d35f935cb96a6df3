// The udev rule that gives the seat's user the mouse: every line grants
// uaccess on hidraw nodes only, and its match keys pick the mouse's three
// links by bus and ids and no other device. (udevadm of Debian 12 has no
// `verify`; this reads the keys the way udev compares them, with fnmatch.)
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "model/protocol/link_ids.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using Rule = std::multimap<std::string, std::string>;  // "KEY op" -> value

std::vector<Rule> ReadRules(const char* path) {
  std::ifstream in(path);
  std::vector<Rule> rules;
  const std::regex pair(R"re(\s*([A-Z]+(?:\{[^}]*\})?)\s*(==|!=|\+=|=|:=)\s*"([^"]*)"\s*(,|$))re");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    Rule rule;
    for (std::sregex_iterator m(line.begin(), line.end(), pair), end; m != end; ++m) {
      rule.emplace((*m)[1].str() + " " + (*m)[2].str(), (*m)[3].str());
    }
    rules.push_back(rule);
  }
  return rules;
}

std::string HidName(unsigned bus, unsigned vendor, unsigned product) {
  char name[32];
  std::snprintf(name, sizeof name, "%04X:%04X:%04X.0007", bus, vendor, product);
  return name;
}

bool Granted(const std::vector<Rule>& rules, const std::string& hid_device) {
  for (const Rule& rule : rules) {
    const auto kernels = rule.find("KERNELS ==");
    if (kernels != rule.end() && ::fnmatch(kernels->second.c_str(), hid_device.c_str(), 0) == 0)
      return true;
  }
  return false;
}

TEST(UdevRule, GrantsUaccessOnTheMousesHidrawNodesOnly) {
  const std::vector<Rule> rules = ReadRules(test::paths::UdevRule().c_str());
  ASSERT_EQ(rules.size(), 3u);
  for (const Rule& rule : rules) {
    EXPECT_EQ(rule.size(), 3u);
    EXPECT_EQ(rule.count("SUBSYSTEM =="), 1u);
    EXPECT_EQ(rule.find("SUBSYSTEM ==")->second, "hidraw");
    ASSERT_EQ(rule.count("TAG +="), 1u);
    EXPECT_EQ(rule.find("TAG +=")->second, "uaccess");
  }
  using namespace link_ids;
  const struct {
    std::string hid_device;
    bool granted;
  } cases[] = {
      {HidName(0x0003, kVendor, kWiredProduct), true},
      {HidName(0x0003, kVendor, kReceiverProduct), true},
      {HidName(kBluetoothBus, kBluetoothVendor, kBluetoothProduct), true},
      // The Bluetooth ids over USB belong to another maker's mouse.
      {HidName(0x0003, kBluetoothVendor, kBluetoothProduct), false},
      {HidName(kBluetoothBus, kVendor, kWiredProduct), false},
      {HidName(0x0003, kVendor, 0xFA62), false},
      {HidName(0x0003, 0x046D, 0xC077), false},
  };
  for (const auto& c : cases) EXPECT_EQ(Granted(rules, c.hid_device), c.granted) << c.hid_device;
}

}  // namespace
}  // namespace ms1
