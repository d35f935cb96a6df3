#include "app/device_page_factory.h"

#include "ui/ms1_page.h"

namespace ms1 {

std::unique_ptr<DevicePage> CreateDevicePage() {
  return std::make_unique<CMS_1_Page>();
}

}  // namespace ms1
