#include "app/device_page_factory.h"
#include "app/entry.h"

int main(int argc, char** argv) {
  return ms1::RunApplication(argc, argv, &ms1::CreateDevicePage);
}
