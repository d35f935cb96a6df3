#include "libs/virtualmouse/link.h"

#include "model/protocol/link_ids.h"

namespace ms1::vmouse {

using namespace link_ids;

const char* LinkName(Link link) {
  switch (link) {
    case Link::kWired:
      return "wired";
    case Link::kReceiver:
      return "receiver";
    case Link::kBle:
      return "ble";
  }
  return "?";
}

bool ParseLink(const std::string& text, Link& link) {
  for (Link candidate : {Link::kWired, Link::kReceiver, Link::kBle}) {
    if (text == LinkName(candidate)) {
      link = candidate;
      return true;
    }
  }
  return false;
}

std::optional<Link> LinkForIds(int32_t vendor_id, int32_t product_id) {
  if (vendor_id != kVendor) return std::nullopt;
  if (product_id == kWiredProduct) return Link::kWired;
  if (product_id == kReceiverProduct) return Link::kReceiver;
  return std::nullopt;
}

}  // namespace ms1::vmouse
