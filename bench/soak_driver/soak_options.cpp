#include "bench/soak_driver/soak_options.h"

#include <CLI/CLI.hpp>
#include <chrono>

namespace ms1::soak {

bool ParseSoakOptions(int argc, char** argv, SoakOptions& options, std::string& error) {
  CLI::App app{"ms1_soak: random use of the device page on the virtual mouse"};
  app.allow_extras();
  app.add_option("--seconds", options.seconds, "length of the random use")
      ->check(CLI::PositiveNumber);
  app.add_option("--seed", options.seed, "seed of the random choices (0: from the clock)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--report-fd", options.report_fd, "descriptor for the report lines")
      ->check(CLI::NonNegativeNumber);
  app.add_flag("--bluetooth", options.bluetooth, "plug and unplug Bluetooth LE too");
  app.add_option("--max-growth-kb", options.max_growth_kb, "allowed RSS growth");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
  if (options.seed == 0) {
    options.seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  }
  if (options.max_growth_kb <= 0) options.max_growth_kb = kDefaultMaxGrowthKb;
  return true;
}

}  // namespace ms1::soak
