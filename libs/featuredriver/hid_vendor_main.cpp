// ms1-hid-vendor SYSFS_DEVICE: run by the udev rule for each hidraw node of
// the mouse; succeeds only for the vendor-defined interface, so that the seat's
// user is given that node alone and not the mouse's pointer or keyboard input.
#include <fstream>
#include <iterator>
#include <vector>

#include "libs/featuredriver/report_descriptor.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ifstream in(std::string(argv[1]) + "/device/report_descriptor", std::ios::binary);
  if (!in) return 2;
  const std::vector<uint8_t> descriptor((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  return ms1::hiddriver::IsVendorDefinedInterface(descriptor) ? 0 : 1;
}
