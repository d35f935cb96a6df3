#include "cli/mouse_nodes.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "libs/featuredriver/device_presence.h"
#include "libs/featuredriver/report_descriptor.h"
#include "model/protocol/link_ids.h"

namespace ms1::cli {
namespace {

namespace fs = std::filesystem;

std::optional<hiddriver::HidId> HidIdOf(const fs::path& uevent) {
  std::ifstream in(uevent);
  const std::string prefix = "HID_ID=";
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(prefix)) return hiddriver::ParseHidId(line.c_str() + prefix.size());
  }
  return std::nullopt;
}

bool VendorDefined(const fs::path& report_descriptor) {
  std::ifstream in(report_descriptor, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  return hiddriver::IsVendorDefinedInterface(bytes);
}

}  // namespace

std::vector<MouseNode> FindMouseNodes(const fs::path& root) {
  std::vector<MouseNode> nodes;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(root / "sys/class/hidraw", ec)) {
    const auto id = HidIdOf(entry.path() / "device/uevent");
    const auto link =
        id ? link_ids::LinkForHidId(id->bus, id->vendor_id, id->product_id) : std::nullopt;
    if (!link) continue;
    const bool opened = *link != ConnectionMode::kBluetooth;
    if (opened && !VendorDefined(entry.path() / "device/report_descriptor")) continue;
    const fs::path node = root / "dev" / entry.path().filename();
    nodes.push_back({*link, node, ::access(node.c_str(), R_OK | W_OK) == 0, opened});
  }
  std::ranges::sort(nodes, {}, &MouseNode::node);
  return nodes;
}

}  // namespace ms1::cli
