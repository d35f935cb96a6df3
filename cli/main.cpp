// ms1ctl: the command-line companion of the MS_1 configuration program.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "model/version.h"

int main(int argc, char** argv) {
  CLI::App app{"ms1ctl - configure the MS_1 mouse from the command line"};
  app.set_version_flag("--version", std::string("ms1ctl ") + ms1::ProgramVersion());
  app.require_subcommand(1);
  ms1::cli::RegisterProfileFileCommands(app);
  ms1::cli::RegisterDeviceCommands(app);
  ms1::cli::RegisterStoreCommands(app);
  ms1::cli::RegisterDoctorCommand(app);
  return ms1::cli::RunCommandLine(app, argc, argv);
}
