// ms1sim: steers and reads the virtual mouse, for the demo and the tests.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"ms1sim - steer and read the virtual mouse"};
  ms1::cli::RegisterSimCommands(app);
  return ms1::cli::RunCommandLine(app, argc, argv);
}
