// Reports as the simulated mouse may receive them from a faulty program: any
// bytes, over any link, between plug changes, sleep and refusals. It keeps
// only what its checks accept, and whatever it keeps it can show.
#include <string>

#include "fuzz_support.h"
#include "libs/virtualmouse/report_check.h"
#include "libs/virtualmouse/virtual_mouse.h"
#include "model/protocol/framing.h"
#include "model/protocol/macro_layout.h"

namespace {

using namespace ms1;
using namespace ms1::vmouse;

void RequireKeptAsSent(const VirtualMouse& mouse, const Bytes& report) {
  const uint8_t command = report[frame::kCommand];
  const uint8_t target = report[frame::kTarget];
  const ModeConfig* mode = target >= 1 && target <= 5 ? &mouse.Modes()[target - 1u] : nullptr;
  switch (command) {
    case command::kSettings:
      fuzz::Require(mode && mode->settings == report, "accepted settings were not kept");
      break;
    case command::kLighting:
      fuzz::Require(mode && mode->lighting == report, "accepted lighting was not kept");
      break;
    case command::kButtonMapping:
      fuzz::Require(mode && mode->buttons == report, "accepted buttons were not kept");
      break;
    case command::kModeSelect:
      fuzz::Require(mouse.ActiveMode() == target - 1, "an accepted mode select was not kept");
      break;
    case command::kMacro:
      if (report.size() == report_size::kMacro) {
        const auto kept = mouse.Macros().find(target);
        fuzz::Require(kept != mouse.Macros().end() && kept->second == report,
                      "an accepted macro was not kept");
      }
      break;
    default:
      break;
  }
}

// Every macro the mouse holds, assembled from chunks or not, passes its checks.
void RequireMacrosSound(const VirtualMouse& mouse) {
  for (const auto& [number, macro] : mouse.Macros()) {
    fuzz::Require(CheckReport(ConnectionMode::kReceiver, macro.data(), macro.size()).empty(),
                  "the mouse holds a macro it would refuse");
  }
}

void Deliver(VirtualMouse& mouse, ConnectionMode link, std::span<const uint8_t> bytes) {
  const Bytes report(bytes.begin(), bytes.end());
  const std::string framing = CheckReport(link, report.data(), report.size());
  const Delivery delivery = mouse.Receive(link, report.data(), report.size());
  fuzz::Require(delivery.accepted == delivery.error.empty(), "a delivery both refused and accepted");
  if (!framing.empty()) fuzz::Require(!delivery.accepted, "a report that fails its checks was accepted");
  if (delivery.accepted) RequireKeptAsSent(mouse, report);
}

void OnMessage(VirtualMouse& mouse, fuzz::InputReader& in) {
  const uint8_t op = in.Byte();
  const ConnectionMode link = static_cast<ConnectionMode>(op % kLinkCount);
  switch (op / kLinkCount % 6) {
    case 0:
    case 1:
    case 2: Deliver(mouse, link, in.Run(report_size::kLargest + 2)); break;
    case 3: mouse.SetPlugged(link, in.Byte() % 2 == 1); break;
    case 4: (in.Byte() % 2 == 1) ? mouse.Sleep() : mouse.Wake(); break;
    default:
      mouse.LoseAcknowledgements(in.Byte() % 3);
      mouse.RefuseReports(in.Byte() % 3);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  VirtualMouse mouse;
  fuzz::InputReader in({data, size});
  while (!in.empty()) OnMessage(mouse, in);
  RequireMacrosSound(mouse);
  // What ms1ctl shows of the mouse: never an exception, whatever it holds.
  fuzz::Require(!mouse.StateJson().dump().empty() && !mouse.LogJson().dump().empty(),
                "the mouse's state cannot be shown");
  return 0;
}
