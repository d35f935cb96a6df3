// `ms1sim ...`: steers and reads the virtual mouse over its socket. A tool of
// the build tree and the demo, never installed: the package has no simulator.
#include <unistd.h>

#include <iostream>
#include <map>
#include <sstream>

#include "cli/commands.h"
#include "cli/report_text.h"
#include "libs/virtualmouse/hex_text.h"
#include "libs/virtualmouse/sim_connection.h"

namespace ms1::cli {

namespace {

using nlohmann::json;

std::string ProgramFolder() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

// Sends one request, starting the simulator when `start` is set; fails the
// command on an unreachable simulator or a refused request.
json Ask(const std::string& request, bool start = true) {
  const std::string simulator = start ? vmouse::FindSimulator(ProgramFolder()) : "";
  auto connection = vmouse::ConnectOrStart(simulator);
  if (!connection) {
    Fail("cannot reach the virtual mouse in " + vmouse::InstanceDir() +
         (simulator.empty() && start ? " (ms1-virtual-mouse not found; set MS1_VMOUSE_SIM)" : ""));
  }
  json reply = connection->Request(request);
  if (!reply.is_object()) Fail("the virtual mouse did not answer");
  if (!reply.value("ok", false)) Fail(reply.value("error", "request refused"));
  return reply;
}

std::string Spaced(const std::string& hex) {
  std::vector<uint8_t> bytes;
  vmouse::FromHex(hex, bytes);
  return HexLine(bytes);
}

void PrintSent(const json& reply, const std::string& what) {
  if (reply["sent_on"].is_null()) {
    std::cout << what << ": no link plugged, nothing reported\n";
  } else {
    std::cout << what << ": reported over " << reply["sent_on"].get<std::string>() << "\n";
  }
}

std::string Triple(const json& t) {
  std::ostringstream out;
  out << HexLine({t[0].get<uint8_t>(), t[1].get<uint8_t>(), t[2].get<uint8_t>()});
  return out.str();
}

void PrintModes(const json& modes) {
  for (const json& mode : modes) {
    const int number = mode["mode_number"];
    if (mode["settings"].is_null() && mode["lighting"].is_null() && mode["buttons"].is_null()) {
      continue;
    }
    std::cout << "mode record " << number - 1 << " (mode number " << number << "):\n";
    if (const json& s = mode["settings"]; !s.is_null()) {
      std::cout << "  settings: level " << s["dpi_level"] << ", steps";
      for (const json& level : s["levels"]) {
        std::cout << " " << (level["enabled"].get<bool>() ? "" : "(") << level["steps39"]
                  << (level["high_range"].get<bool>() ? "h" : "")
                  << (level["enabled"].get<bool>() ? "" : ")") << " "
                  << level["color"].get<std::string>();
      }
      std::cout << "\n";
    }
    if (const json& l = mode["lighting"]; !l.is_null()) {
      std::cout << "  lighting: effect " << l["effect"] << ", speed " << l["speed"]
                << ", brightness " << l["brightness"] << ", sleep timer " << l["sleep_timer"]
                << "\n";
    }
    if (const json& b = mode["buttons"]; !b.is_null()) {
      std::cout << "  buttons:";
      for (const json& t : b["buttons"]) std::cout << " [" << Triple(t) << "]";
      std::cout << "\n";
    }
  }
}

void PrintState(const json& state) {
  std::cout << "links:";
  for (const std::string& link : kLinkNames) {
    std::cout << " " << link << (state["plugged"][link].get<bool>() ? " plugged" : " unplugged")
              << (link == kLinkNames.back() ? "" : ",");
  }
  std::cout << "\nmouse: " << (state["asleep"].get<bool>() ? "asleep" : "awake") << ", battery "
            << state["battery"] << ", active mode " << state["active_mode"] << ", DPI level "
            << state["dpi_level"];
  if (!state["polling_rate"].is_null()) {
    std::cout << ", polling " << state["polling_rate"]["rate_hz"] << " Hz";
  }
  std::cout << "\n";
  PrintModes(state["modes"]);
  for (const auto& [number, macro] : state["macros"].items()) {
    std::cout << "macro " << number << ": " << macro["steps"].size() << " steps, loop count "
              << macro["loop_count"] << ", repeat mode " << macro["repeat_mode"] << "\n";
  }
  std::cout << "reports: " << state["accepted_count"] << " accepted, " << state["refused_count"]
            << " refused; pending: " << state["lose_acks"] << " acknowledgements to lose, "
            << state["refuse"] << " reports to refuse\n";
}

void PrintLog(const json& log) {
  std::map<uint64_t, json> by_sequence;
  for (const json& e : log["accepted"]) by_sequence[e["seq"]] = e;
  for (const json& e : log["refused"]) by_sequence[e["seq"]] = e;
  for (const auto& [seq, e] : by_sequence) {
    std::cout << seq << " " << e["link"].get<std::string>() << " "
              << Spaced(e["report"].get<std::string>());
    if (e.contains("error")) std::cout << "  REFUSED: " << e["error"].get<std::string>();
    std::cout << "\n";
  }
}

void AddLinkCommand(CLI::App& sim, const std::string& verb, const std::string& help) {
  auto* cmd = sim.add_subcommand(verb, help);
  auto link = std::make_shared<std::string>();
  cmd->add_option("LINK", *link, kLinkChoices)->required()->check(CLI::IsMember(kLinkNames));
  cmd->callback([verb, link] {
    const json reply = Ask(verb + " " + *link);
    std::cout << *link << (reply.value("changed", false) ? " " : " was already ") << verb
              << "ged\n";
  });
}

void AddCountCommand(CLI::App& sim, const std::string& verb, const std::string& help,
                     const std::string& done) {
  auto* cmd = sim.add_subcommand(verb, help);
  auto count = std::make_shared<int>(0);
  cmd->add_option("N", *count, "How many")->required()->check(CLI::NonNegativeNumber);
  cmd->callback([verb, count, done] {
    Ask(verb + " " + std::to_string(*count));
    std::cout << "the next " << *count << " " << done << "\n";
  });
}

void AddPressCommand(CLI::App& sim) {
  auto* press = sim.add_subcommand("press", "Press a button on the mouse");
  press->require_subcommand(1);
  auto level = std::make_shared<int>(1);
  auto* dpi = press->add_subcommand("dpi", "Switch to DPI level N (1..8)");
  dpi->add_option("N", *level, "DPI level")->required()->check(CLI::Range(1, 8));
  dpi->callback([level] {
    PrintSent(Ask("press dpi " + std::to_string(*level)), "DPI level " + std::to_string(*level));
  });
  auto mode = std::make_shared<int>(0);
  auto* mode_cmd = press->add_subcommand("mode", "Switch to mode M (0..4)");
  mode_cmd->add_option("M", *mode, "Mode")->required()->check(CLI::Range(0, 4));
  mode_cmd->callback([mode] {
    PrintSent(Ask("press mode " + std::to_string(*mode)), "mode " + std::to_string(*mode));
  });
}

void AddReadCommand(CLI::App& sim, const std::string& verb, const std::string& help,
                    void (*print)(const json&)) {
  auto* cmd = sim.add_subcommand(verb, help);
  auto as_json = std::make_shared<bool>(false);
  cmd->add_flag("--json", *as_json, "Print JSON");
  cmd->callback([verb, as_json, print] {
    const json value = Ask(verb)[verb];
    if (*as_json) {
      std::cout << value.dump(2) << "\n";
    } else {
      print(value);
    }
  });
}

void AddStatusCommands(CLI::App& sim) {
  auto* battery = sim.add_subcommand("battery", "Report a battery level in tenths (0..255)");
  auto level = std::make_shared<int>(0);
  auto asleep = std::make_shared<bool>(false);
  battery->add_option("L", *level, "Level in tenths")->required()->check(CLI::Range(0, 255));
  battery->add_flag("--asleep", *asleep, "Report the mouse asleep");
  battery->callback([level, asleep] {
    PrintSent(Ask("battery " + std::to_string(*level) + (*asleep ? " asleep" : "")),
              "battery " + std::to_string(*level));
  });
  sim.add_subcommand("sleep", "Put the mouse to sleep")->callback([] {
    PrintSent(Ask("sleep"), "asleep");
  });
  sim.add_subcommand("wake", "Wake the mouse up")->callback([] {
    PrintSent(Ask("wake"), "awake");
  });
  auto* heartbeat = sim.add_subcommand("heartbeat", "Period of the awake status in ms (0: off)");
  auto period = std::make_shared<int>(0);
  heartbeat->add_option("MS", *period, "Milliseconds")->required()->check(CLI::NonNegativeNumber);
  heartbeat->callback([period] {
    Ask("heartbeat " + std::to_string(*period));
    std::cout << "status every " << *period << " ms" << (*period == 0 ? " (off)" : "") << "\n";
  });
}

// Faults staged for the middle of an apply: they strike after the next N
// reports, whatever the time.
void AddAfterCommand(CLI::App& sim) {
  auto* after = sim.add_subcommand("after", "After the next N reports: pull a link, or die");
  after->require_subcommand(1);
  auto count = std::make_shared<int>(1);
  after->add_option("N", *count, "How many reports first")->required()->check(CLI::PositiveNumber);
  auto link = std::make_shared<std::string>();
  after->add_subcommand("unplug", "Pull a link out")
      ->callback([count, link] {
        Ask("after " + std::to_string(*count) + " unplug " + *link);
        std::cout << *link << " will be unplugged after " << *count << " reports\n";
      })
      ->add_option("LINK", *link, kLinkChoices)
      ->required()
      ->check(CLI::IsMember(kLinkNames));
  after->add_subcommand("die", "End the simulator as a kill would")->callback([count] {
    Ask("after " + std::to_string(*count) + " die");
    std::cout << "the virtual mouse will die after " << *count << " reports\n";
  });
}

}  // namespace

void RegisterSimCommands(CLI::App& app) {
  CLI::App* sim = &app;
  sim->require_subcommand(1);
  AddLinkCommand(*sim, "plug", "Plug a link in");
  AddLinkCommand(*sim, "unplug", "Pull a link out");
  AddPressCommand(*sim);
  AddStatusCommands(*sim);
  AddCountCommand(*sim, "lose-acks", "Lose the next N acknowledgements",
                  "acknowledgements will be lost");
  AddCountCommand(*sim, "refuse", "Refuse the next N reports", "reports will be refused");
  AddAfterCommand(*sim);
  AddReadCommand(*sim, "state", "Show what the mouse holds", PrintState);
  AddReadCommand(*sim, "log", "Show the reports the mouse received", PrintLog);
  sim->add_subcommand("clear-log", "Forget the received reports")->callback([] {
    Ask("clear-log");
    std::cout << "log cleared\n";
  });
  sim->add_subcommand("stop", "Stop the virtual mouse")->callback([] {
    auto connection = vmouse::ConnectToSimulator(vmouse::InstanceDir());
    if (!connection) {
      std::cout << "the virtual mouse is not running\n";
      return;
    }
    const json reply = connection->Request("stop");
    if (!reply.is_object() || !reply.value("ok", false)) Fail("the virtual mouse did not stop");
    // Returns once the simulator has let go of its connections.
    std::string ignored;
    while (connection->ReadLine(ignored, 10000)) {
    }
    std::cout << "virtual mouse stopped\n";
  });
}

}  // namespace ms1::cli
