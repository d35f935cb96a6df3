// Reports travel over the simulator socket as lower-case hex text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ms1::vmouse {

std::string ToHex(const uint8_t* data, std::size_t size);
inline std::string ToHex(const std::vector<uint8_t>& bytes) {
  return ToHex(bytes.data(), bytes.size());
}
// False on odd length or a non-hex digit.
bool FromHex(const std::string& text, std::vector<uint8_t>& bytes);

}  // namespace ms1::vmouse
