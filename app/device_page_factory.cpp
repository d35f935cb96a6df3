#include "app/device_page_factory.h"

namespace ms1 {

// The page with its links, worker and panels replaces this once it is built.
std::unique_ptr<DevicePage> CreateDevicePage() {
  return nullptr;
}

}  // namespace ms1
