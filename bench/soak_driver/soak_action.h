// One kind of thing the soak does at random: an edit on the page, a profile
// command, a press on the mouse, a plug change.
#pragma once

#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/soak_driver/mouse_steering.h"
#include "bench/soak_driver/page_access.h"

namespace ms1::soak {

struct SoakContext {
  PageAccess& page;
  MouseSteering& mouse;
  std::mt19937_64& random;
  // What went other than a user would expect (the page not following the
  // mouse, ...), counted by kind.
  std::map<std::string, int> anomalies;

  // A number in 0..n-1.
  int Draw(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  void Note(const std::string& anomaly) { ++anomalies[anomaly]; }
};

struct SoakAction {
  const char* name;
  int weight;  // how often it is drawn, relative to the others
  // Does it; false when it cannot be done now (its control is hidden, ...).
  std::function<bool(SoakContext&)> run;
};

// Edits and commands through the page's controls.
std::vector<SoakAction> PageActions();
// Presses, battery, sleep and plug changes on the virtual mouse.
std::vector<SoakAction> MouseActions();

}  // namespace ms1::soak
