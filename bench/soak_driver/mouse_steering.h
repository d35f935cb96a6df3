// The virtual mouse's side of the soak: its control socket, plug changes that
// wait until the page has followed them, and what the mouse holds.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bench/soak_driver/page_access.h"
#include "libs/virtualmouse/sim_connection.h"
#include "model/protocol/link_ids.h"

namespace ms1::soak {

class MouseSteering {
 public:
  MouseSteering(PageAccess& page, bool bluetooth) : page_(page), bluetooth_(bluetooth) {}

  // Connects to the simulator of this instance folder (MS1_VMOUSE_DIR).
  bool Connect();

  // One request; a null json when the simulator cannot be reached.
  nlohmann::json Request(const std::string& line);
  nlohmann::json State() { return Request("state")["state"]; }

  // The links this run may plug: the cable and the receiver, and Bluetooth LE
  // when a fake BlueZ serves it.
  std::vector<ConnectionMode> Links() const;
  bool Plugged(ConnectionMode link);
  bool AnyPlugged();
  // Whether the page has the link open.
  bool PageSees(ConnectionMode link);
  // Plugs or unplugs the link and waits until the page follows; false when
  // the page did not follow in time.
  bool SetPlugged(ConnectionMode link, bool plugged);

 private:
  PageAccess& page_;
  bool bluetooth_;
  std::unique_ptr<vmouse::LineConnection> control_;
};

}  // namespace ms1::soak
