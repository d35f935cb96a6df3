// The mouse's hidraw nodes the program uses, per link, and whether this user
// may open each one: the vendor-defined node of the cable and of the receiver
// (their pointer and keyboard nodes are none of its business), and the
// Bluetooth LE node, which only tells that the link is there.
#pragma once

#include <filesystem>
#include <vector>

#include "model/protocol/link_ids.h"

namespace ms1::cli {

struct MouseNode {
  ConnectionMode link;
  std::filesystem::path node;  // <root>/dev/hidrawN
  bool can_open = false;       // readable and writable by this user
  bool opened = true;          // the program opens it (not the Bluetooth LE node)
};

// Reads `root`/sys/class/hidraw/*/device/uevent (HID_ID) and its
// report_descriptor, and looks at `root`/dev/hidrawN; `root` is "/" outside
// tests. Sorted by node.
std::vector<MouseNode> FindMouseNodes(const std::filesystem::path& root);

}  // namespace ms1::cli
