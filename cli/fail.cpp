#include <iostream>
#include <string>

#include "cli/commands.h"

namespace ms1::cli {

void Fail(const std::string& message) {
  std::cerr << "ms1ctl: " << message << "\n";
  throw CLI::RuntimeError(kFailure);
}

}  // namespace ms1::cli
