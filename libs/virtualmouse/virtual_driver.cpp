// The driver library's C entry points over the simulated mouse. Each loaded
// file (hiddriver_1.so, hiddriver_2.so) has its own copy of this state; both
// reach the one simulator process of the instance folder.
#include <dlfcn.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "libs/abi/driver_entry_points.h"
#include "libs/virtualmouse/event_watch.h"
#include "libs/virtualmouse/hex_text.h"
#include "libs/virtualmouse/sim_connection.h"
#include "model/protocol/link_ids.h"

namespace ms1::vmouse {
namespace {

constexpr int32_t kMaxReportLength = 4096;

std::string LibraryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) == 0 || !info.dli_fname) return ".";
  const std::string path = info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::unique_ptr<LineConnection> Connect() {
  return ConnectOrStart(FindSimulator(LibraryFolder()));
}

class Driver {
 public:
  void SetIds(int32_t vendor, int32_t product) {
    std::lock_guard lock(mutex_);
    link_ = link_ids::LinkForDriverIds(vendor, product);
  }

  int32_t Open() {
    std::lock_guard lock(mutex_);
    if (!link_) return 0;
    const std::string request = std::string("open ") + LinkName(*link_);
    nlohmann::json reply = Call(request);
    // A simulator started anew since the last call: one fresh connection.
    if (reply.is_null()) reply = Call(request);
    return reply.is_object() ? reply.value("result", 0) : 0;
  }

  void Close() {
    std::lock_guard lock(mutex_);
    if (command_) Call("close");
  }

  int32_t Send(const uint8_t* report, int32_t length) {
    if (!report || length <= 0 || length > kMaxReportLength) return 0;
    const std::string request = "send " + ToHex(report, static_cast<std::size_t>(length));
    std::lock_guard lock(mutex_);
    // Never resent on a new connection: a report must not arrive twice.
    if (!command_) return 0;
    const nlohmann::json reply = Call(request);
    return reply.is_object() ? reply.value("result", 0) : 0;
  }

  void StartMonitor(Ms1WindowHandle window, uint32_t data_message, uint32_t plug_message) {
    std::lock_guard lock(monitor_mutex_);
    watch_.Stop();
    std::optional<ConnectionMode> link;
    {
      std::lock_guard state_lock(mutex_);
      link = link_;
    }
    if (!link) return;
    if (auto connection = Connect()) {
      watch_.Start(std::move(connection), *link, {window, data_message, plug_message});
    }
  }

  void StopMonitor() {
    std::lock_guard lock(monitor_mutex_);
    watch_.Stop();
  }

 private:
  // Caller holds mutex_. Null when the simulator cannot be reached.
  nlohmann::json Call(const std::string& request) {
    if (!command_) command_ = Connect();
    if (!command_) return nullptr;
    nlohmann::json reply = command_->Request(request);
    if (reply.is_null()) command_.reset();
    return reply;
  }

  std::mutex mutex_;
  std::optional<ConnectionMode> link_;
  std::unique_ptr<LineConnection> command_;
  std::mutex monitor_mutex_;
  EventWatch watch_;
};

Driver& TheDriver() {
  static Driver driver;
  return driver;
}

}  // namespace
}  // namespace ms1::vmouse

MS1_DEFINE_DRIVER_ENTRY_POINTS(ms1::vmouse::TheDriver())
