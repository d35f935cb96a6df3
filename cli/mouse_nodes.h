// The mouse's hidraw nodes as the system shows them, per link, and whether
// this user may open each one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ms1::cli {

struct MouseNode {
  std::string link;  // "wired", "receiver" or "ble"
  std::filesystem::path node;  // <root>/dev/hidrawN
  bool can_open = false;       // readable and writable by this user
};

// Reads `root`/sys/class/hidraw/*/device/uevent (HID_ID) and looks at
// `root`/dev/hidrawN; `root` is "/" outside tests. Sorted by node.
std::vector<MouseNode> FindMouseNodes(const std::filesystem::path& root);

}  // namespace ms1::cli
