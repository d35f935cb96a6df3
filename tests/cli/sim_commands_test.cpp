// `ms1sim` as a developer runs it, against its own simulator instance.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../libs/simulator_stop.h"
#include "support/run.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

class SimCommandsTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    ::setenv("MS1_VMOUSE_DIR", dir.c_str(), 1);
    ::setenv("MS1_VMOUSE_HEARTBEAT_MS", "0", 1);
    ::setenv("MS1_VMOUSE_IDLE_MS", "60000", 1);
    ::setenv("MS1_VMOUSE_PLUGGED", "", 1);
    ::unsetenv("MS1_VMOUSE_SIM");  // found beside ms1ctl's build folder
  }
  void TearDown() override {
    EXPECT_TRUE(test::StopSimulator(dir.string())) << "the simulator did not exit";
    TempDirTest::TearDown();
  }
  test::RunResult Sim(std::vector<std::string> args) {
    args.insert(args.begin(), test::paths::Ms1simFile());
    return test::Run(args);
  }
  nlohmann::json State() {
    const auto r = Sim({"state", "--json"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }
};

TEST_F(SimCommandsTest, SteeringChangesWhatTheStateShows) {
  EXPECT_EQ(State()["plugged"],
            nlohmann::json({{"wired", false}, {"receiver", false}, {"ble", false}}));
  auto r = Sim({"plug", "receiver"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "receiver plugged\n");
  EXPECT_EQ(Sim({"plug", "receiver"}).out, "receiver was already plugged\n");
  EXPECT_EQ(Sim({"plug", "ble"}).exit_code, 0);
  EXPECT_EQ(Sim({"press", "mode", "3"}).out, "mode 3: reported over receiver\n");
  EXPECT_EQ(Sim({"press", "dpi", "6"}).exit_code, 0);
  EXPECT_EQ(Sim({"battery", "5", "--asleep"}).exit_code, 0);
  EXPECT_EQ(Sim({"lose-acks", "2"}).exit_code, 0);
  EXPECT_EQ(Sim({"refuse", "3"}).out, "the next 3 reports will be refused\n");
  const nlohmann::json state = State();
  EXPECT_EQ(state["plugged"]["receiver"], true);
  EXPECT_EQ(state["plugged"]["ble"], true);
  EXPECT_EQ(state["active_mode"], 3);
  EXPECT_EQ(state["dpi_level"], 6);
  EXPECT_EQ(state["battery"], 5);
  EXPECT_EQ(state["asleep"], true);
  EXPECT_EQ(state["lose_acks"], 2);
  EXPECT_EQ(state["refuse"], 3);
  EXPECT_EQ(Sim({"wake"}).exit_code, 0);
  EXPECT_EQ(State()["asleep"], false);
  EXPECT_EQ(Sim({"unplug", "receiver"}).out, "receiver unplugged\n");
  EXPECT_EQ(Sim({"sleep"}).out, "asleep: reported over ble\n");  // the last link left
  EXPECT_EQ(Sim({"unplug", "ble"}).out, "ble unplugged\n");
  EXPECT_EQ(Sim({"wake"}).out, "awake: no link plugged, nothing reported\n");
}

// Faults staged for the middle of an apply are taken as written; a count of
// zero, a missing or unknown link or a value out of range is refused before
// the simulator is asked, and changes nothing.
TEST_F(SimCommandsTest, StagedFaultsAreTakenAndMalformedRequestsChangeNothing) {
  struct Case {
    std::vector<std::string> args;
    bool taken;
    std::string out;
  };
  const Case cases[] = {
      {{"after", "2", "unplug", "wired"}, true, "wired will be unplugged after 2 reports\n"},
      {{"after", "7", "die"}, true, "the virtual mouse will die after 7 reports\n"},
      {{"after", "0", "die"}, false, ""},
      {{"after", "2", "unplug"}, false, ""},
      {{"after", "2", "unplug", "cable"}, false, ""},
      {{"plug", "usb"}, false, ""},
      {{"press", "dpi", "0"}, false, ""},
      {{"press", "mode", "5"}, false, ""},
      {{"refuse", "-1"}, false, ""},
  };
  for (const Case& c : cases) {
    const auto r = Sim(c.args);
    EXPECT_EQ(r.exit_code == 0, c.taken) << testing::PrintToString(c.args) << r.err;
    EXPECT_EQ(r.out, c.out) << testing::PrintToString(c.args);
  }
  EXPECT_EQ(State()["opened"], nlohmann::json({{"wired", 0}, {"receiver", 0}, {"ble", 0}}));
  EXPECT_EQ(State()["refuse"], 0);
}

TEST_F(SimCommandsTest, ReadableStateAndEmptyLog) {
  Sim({"plug", "wired"});
  const auto state = Sim({"state"});
  EXPECT_EQ(state.exit_code, 0);
  EXPECT_NE(state.out.find("links: wired plugged, receiver unplugged, ble unplugged"),
            std::string::npos)
      << state.out;
  const auto log = Sim({"log", "--json"});
  EXPECT_EQ(nlohmann::json::parse(log.out), nlohmann::json({{"accepted", nlohmann::json::array()},
                                                            {"refused", nlohmann::json::array()}}));
  EXPECT_EQ(Sim({"log"}).out, "");
}

TEST_F(SimCommandsTest, StopEndsTheSimulatorAndAMissingOneIsReported) {
  EXPECT_EQ(Sim({"plug", "wired"}).exit_code, 0);
  EXPECT_EQ(Sim({"stop"}).out, "virtual mouse stopped\n");
  EXPECT_EQ(Sim({"stop"}).out, "the virtual mouse is not running\n");
  ::setenv("MS1_VMOUSE_SIM", "/nonexistent/ms1-virtual-mouse", 1);
  const auto r = Sim({"state"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("cannot reach the virtual mouse"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace ms1
