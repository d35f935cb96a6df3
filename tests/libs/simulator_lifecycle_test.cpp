// Starting, sharing and ending the simulator process.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <future>
#include <set>
#include <thread>

#include "sim_instance.h"

namespace ms1::vmouse {
namespace {

// Blocks until no simulator holds the instance folder's lock, i.e. it has exited.
bool WaitUntilGone(const std::string& dir) {
  auto gone = std::async(std::launch::async, [dir] {
    const int fd = ::open(LockPath(dir).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return true;
    const bool locked = ::flock(fd, LOCK_EX) == 0;
    ::close(fd);
    return locked;
  });
  return gone.wait_for(std::chrono::seconds(20)) == std::future_status::ready && gone.get();
}

int SimulatorPid(LineConnection& connection) {
  return connection.Request("ping").value("pid", 0);
}

TEST(SimulatorLifecycleTest, ClientsStartingAtOnceShareOneSimulator) {
  test::SimInstance sim("race");
  std::vector<std::future<std::unique_ptr<LineConnection>>> starters;
  for (int i = 0; i < 4; ++i) {
    starters.push_back(
        std::async(std::launch::async, [] { return ConnectOrStart(MS1_VMOUSE_SIM_PATH); }));
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
    auto connection = ConnectOrStart(MS1_VMOUSE_SIM_PATH);
    ASSERT_TRUE(connection);
    ASSERT_TRUE(connection->Request("plug wired").value("ok", false));
  }
  ASSERT_TRUE(WaitUntilGone(dir));
  EXPECT_FALSE(ConnectToSimulator(dir));  // the socket file went with it
  auto again = ConnectOrStart(MS1_VMOUSE_SIM_PATH);
  ASSERT_TRUE(again);
  // A new simulator is a new mouse: nothing plugged.
  EXPECT_EQ(again->Request("state")["state"]["plugged"]["wired"], false);
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
  auto connection = ConnectOrStart(MS1_VMOUSE_SIM_PATH);
  ASSERT_TRUE(connection);
  EXPECT_GT(SimulatorPid(*connection), 0);
}

TEST(SimulatorLifecycleTest, BadRequestsGetAnErrorAndTheConnectionStays) {
  test::SimInstance sim("bad");
  auto connection = ConnectOrStart(MS1_VMOUSE_SIM_PATH);
  ASSERT_TRUE(connection);
  for (const char* request : {"", "fly away", "send 0c0", "send zz", "plug usb", "battery x",
                              "lose-acks -1", "press dpi", "refuse 1 2"}) {
    EXPECT_EQ(connection->Request(request).value("ok", true), false) << request;
  }
  // A report sent without an open device is not delivered.
  EXPECT_EQ(connection->Request("send 0c0a01fe02fd00000000").value("result", -1), 0);
  EXPECT_GT(SimulatorPid(*connection), 0);
}

}  // namespace
}  // namespace ms1::vmouse
