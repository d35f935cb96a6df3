// Starting, sharing and ending the simulator process.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <filesystem>
#include <future>
#include <set>

#include "sim_instance.h"
#include "simulator_stop.h"
#include "support/test_paths.h"

namespace ms1::vmouse {
namespace {

using test::ProcessExitWatch;
using test::SimulatorPid;

TEST(SimulatorLifecycleTest, ClientsStartingAtOnceShareOneSimulator) {
  test::SimInstance sim("race");
  std::vector<std::future<std::unique_ptr<LineConnection>>> starters;
  for (int i = 0; i < 4; ++i) {
    starters.push_back(std::async(std::launch::async, [] {
      return ConnectOrStart(test::paths::VirtualMouseSimulatorFile());
    }));
  }
  std::set<int> pids;
  for (auto& s : starters) {
    auto connection = s.get();
    ASSERT_TRUE(connection);
    pids.insert(SimulatorPid(*connection));
  }
  EXPECT_EQ(pids.size(), 1u);
  EXPECT_GT(*pids.begin(), 0);
}

TEST(SimulatorLifecycleTest, ExitsWhenIdleAndStartsAgainOnNextUse) {
  test::SimInstance sim("idle");
  ::setenv("MS1_VMOUSE_IDLE_MS", "100", 1);
  const std::string dir = sim.dir().string();
  {
    // On a busy machine a simulator this impatient may have left again before
    // the first request reaches it; the next use then starts another.
    std::unique_ptr<LineConnection> connection;
    for (int attempt = 0; attempt < 5 && !connection; ++attempt) {
      connection = ConnectOrStart(test::paths::VirtualMouseSimulatorFile());
      const nlohmann::json reply = connection ? connection->Request("plug wired") : nullptr;
      if (!reply.is_object() || !reply.value("ok", false)) connection.reset();
    }
    ASSERT_TRUE(connection);
    const ProcessExitWatch first(SimulatorPid(*connection));
    ASSERT_TRUE(first.Watching());
    connection.reset();
    ASSERT_TRUE(first.WaitForExit(test::kSimulatorExitLimitMs));
  }
  EXPECT_FALSE(std::filesystem::exists(SocketPath(dir)));  // the socket file went with it
  EXPECT_FALSE(ConnectToSimulator(dir));
  ::setenv("MS1_VMOUSE_IDLE_MS", "60000", 1);
  auto again = ConnectOrStart(test::paths::VirtualMouseSimulatorFile());
  ASSERT_TRUE(again);
  // A new simulator is a new mouse: nothing plugged.
  EXPECT_EQ(again->Request("state")["state"]["plugged"]["wired"], false);
}

TEST(SimulatorLifecycleTest, ItsSocketFileIsGoneOnceAClientSeesTheStop) {
  test::SimInstance sim("stop");
  auto connection = ConnectOrStart(test::paths::VirtualMouseSimulatorFile());
  ASSERT_TRUE(connection);
  const std::string socket = SocketPath(sim.dir().string());
  ASSERT_TRUE(std::filesystem::exists(socket));
  ASSERT_TRUE(connection->Request("stop").value("ok", false));
  std::string ignored;
  while (connection->ReadLine(ignored, test::kSimulatorExitLimitMs)) {
  }
  // A client may clear the folder right here; nothing of the simulator's may
  // vanish under it any more.
  EXPECT_FALSE(std::filesystem::exists(socket));
}

TEST(SimulatorLifecycleTest, AStaleSocketFileDoesNotBlockAStart) {
  test::SimInstance sim("stale");
  const std::string path = SocketPath(sim.dir().string());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);  // left behind as if by a crash
  EXPECT_FALSE(ConnectToSimulator(sim.dir().string()));
  auto connection = ConnectOrStart(test::paths::VirtualMouseSimulatorFile());
  ASSERT_TRUE(connection);
  EXPECT_GT(SimulatorPid(*connection), 0);
}

TEST(SimulatorLifecycleTest, BadRequestsGetAnErrorAndTheConnectionStays) {
  test::SimInstance sim("bad");
  auto connection = ConnectOrStart(test::paths::VirtualMouseSimulatorFile());
  ASSERT_TRUE(connection);
  for (const char* request : {"", "fly away", "send 0c0", "send zz", "plug usb", "battery x",
                              "lose-acks -1", "press dpi", "refuse 1 2"}) {
    EXPECT_EQ(connection->Request(request).value("ok", true), false) << request;
  }
  // A report sent without an open device is not delivered.
  EXPECT_EQ(connection->Request("send 0c0a01fe02fd00000000").value("result", -1), 0);
  EXPECT_GT(SimulatorPid(*connection), 0);

  // A line that never ends costs the sender its connection, not the simulator.
  auto flooder = ConnectToSimulator(sim.dir().string());
  ASSERT_TRUE(flooder);
  const std::string flood(70 * 1024, 'a');
  EXPECT_TRUE(flooder->Request(flood, 10000).is_null());
  EXPECT_GT(SimulatorPid(*connection), 0);
}

}  // namespace
}  // namespace ms1::vmouse
