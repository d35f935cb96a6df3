// The three ways the program reaches the mouse, as the simulator names them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ms1::vmouse {

enum class Link { kWired, kReceiver, kBle };
inline constexpr int kLinkCount = 3;

const char* LinkName(Link link);
bool ParseLink(const std::string& text, Link& link);

// The link a driver library serves, from the ids the program gives Set_VIDPID.
std::optional<Link> LinkForIds(int32_t vendor_id, int32_t product_id);

}  // namespace ms1::vmouse
