#include <iostream>
#include <string>

#include "cli/commands.h"

namespace ms1::cli {

void Fail(const std::string& message) {
  std::cerr << "ms1ctl: " << message << "\n";
  throw CLI::RuntimeError(kFailure);
}

int RunCommandLine(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return 0;
}

}  // namespace ms1::cli
