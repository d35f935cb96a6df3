// The udev rule that gives the seat's user the mouse: every line grants
// uaccess on hidraw nodes only, its match keys pick the mouse's cable and
// receiver by bus and ids and no other device, and its program keeps the grant
// to the vendor-defined interface, away from the mouse's pointer and keyboard
// input. (udevadm of Debian 12 has no `verify`; this reads the keys the way
// udev compares them, with fnmatch, and runs the rule's program as udev would,
// on a recorded sysfs device.)
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "model/protocol/link_ids.h"
#include "support/temp_dir.h"
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

// A hidraw device as `udevadm info -a` shows it: the HID device above the node
// and that node's report descriptor.
struct Device {
  std::string hid_device;
  std::vector<uint8_t> report_descriptor;
};

// The rule's program, named without a path as udev's own helpers are, run as
// udev runs it: %S%p is the node's folder in sysfs.
bool ProgramSucceeds(const std::string& command, const Device& device) {
  const auto sys = test::MakeTempDir("udev-sysfs");
  std::filesystem::create_directories(sys / "device");
  test::WriteBytes(sys / "device/report_descriptor",
                   std::string(device.report_descriptor.begin(), device.report_descriptor.end()));
  std::string line = command;
  line.replace(line.find("%S%p"), 4, sys.string());
  line.replace(0, line.find(' '), test::paths::HidVendorHelperFile());
  const bool ok = std::system(line.c_str()) == 0;
  test::RemoveTree(sys);
  return ok;
}

bool Granted(const std::vector<Rule>& rules, const Device& device) {
  for (const Rule& rule : rules) {
    const auto kernels = rule.find("KERNELS ==");
    const auto program = rule.find("PROGRAM ==");
    if (kernels == rule.end() ||
        ::fnmatch(kernels->second.c_str(), device.hid_device.c_str(), 0) != 0) {
      continue;
    }
    if (program == rule.end() || ProgramSucceeds(program->second, device)) return true;
  }
  return false;
}

TEST(UdevRule, GrantsUaccessOnTheMousesVendorNodeOnly) {
  const std::vector<Rule> rules = ReadRules(test::paths::UdevRule().c_str());
  ASSERT_EQ(rules.size(), 2u);
  for (const Rule& rule : rules) {
    EXPECT_EQ(rule.size(), 4u);
    EXPECT_EQ(rule.count("SUBSYSTEM =="), 1u);
    EXPECT_EQ(rule.find("SUBSYSTEM ==")->second, "hidraw");
    EXPECT_EQ(rule.count("PROGRAM =="), 1u);
    ASSERT_EQ(rule.count("TAG +="), 1u);
    EXPECT_EQ(rule.find("TAG +=")->second, "uaccess");
  }
  using namespace link_ids;
  // Report descriptors as the mouse's interfaces and other devices give them.
  const std::vector<uint8_t> vendor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0};
  const std::vector<uint8_t> vendor_short = {0x05, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0};  // 0x00FF
  const std::vector<uint8_t> keyboard = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0xC0};
  const std::vector<uint8_t> pointer = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0};
  const std::vector<uint8_t> vendor_after_pointer = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0,
                                                     0x06, 0x00, 0xFF, 0xA1, 0x01, 0xC0};
  const struct {
    const char* what;
    Device device;
    bool granted;
  } cases[] = {
      {"cable, vendor interface", {HidName(0x0003, kVendor, kWiredProduct), vendor}, true},
      {"receiver, vendor interface", {HidName(0x0003, kVendor, kReceiverProduct), vendor}, true},
      {"cable, keyboard interface", {HidName(0x0003, kVendor, kWiredProduct), keyboard}, false},
      {"receiver, pointer interface", {HidName(0x0003, kVendor, kReceiverProduct), pointer}, false},
      {"pointer first, vendor after", {HidName(0x0003, kVendor, kWiredProduct),
                                       vendor_after_pointer}, false},
      {"page 0x00FF is no vendor page", {HidName(0x0003, kVendor, kWiredProduct), vendor_short},
       false},
      {"Bluetooth LE goes through BlueZ",
       {HidName(kBluetoothBus, kBluetoothVendor, kBluetoothProduct), vendor}, false},
      {"another maker's mouse with these ids over USB",
       {HidName(0x0003, kBluetoothVendor, kBluetoothProduct), vendor}, false},
      {"another product of the maker", {HidName(0x0003, kVendor, 0xFA62), vendor}, false},
      {"another maker's device", {HidName(0x0003, 0x046D, 0xC077), vendor}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(Granted(rules, c.device), c.granted) << c.what;
}

}  // namespace
}  // namespace ms1
