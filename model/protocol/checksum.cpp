#include "model/protocol/framing.h"

namespace ms1 {

uint16_t ReportChecksum(const uint8_t* buffer, std::size_t first, std::size_t last) {
  uint16_t sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum = static_cast<uint16_t>(sum + buffer[i]);
  return sum;
}

}  // namespace ms1
