#include "libs/virtualmouse/sim_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

#include "libs/virtualmouse/hex_text.h"
#include "libs/virtualmouse/report_decode.h"

namespace ms1::vmouse {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxRequestLength = 64 * 1024;

json Ok() {
  return {{"ok", true}};
}
json Error(const std::string& message) {
  return {{"ok", false}, {"error", message}};
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool ParseInt(const std::string& text, int low, int high, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= low && value <= high;
}

std::vector<ConnectionMode> ParseLinkList(const std::string& text) {
  std::vector<ConnectionMode> links;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ',');) {
    if (const auto link = ParseLink(item)) links.push_back(*link);
  }
  return links;
}

std::chrono::milliseconds Millis(const std::string& text, std::chrono::milliseconds fallback) {
  int value = 0;
  return ParseInt(text, 0, 24 * 3600 * 1000, value) ? std::chrono::milliseconds(value) : fallback;
}

json EventJson(const LinkEvent& e) {
  if (e.kind == LinkEvent::Kind::kPlug) return {{"event", "plug"}, {"value", e.value}};
  json line = {{"event", "data"}, {"code", e.code}, {"value", e.value}};
  // Over Bluetooth LE the event is a notification value: its bytes are given
  // as the mouse sends them.
  if (e.link == ConnectionMode::kBluetooth) {
    const auto bytes = EncodeDeviceEvent({e.code, e.value});
    line["notification"] = ToHex(bytes.data(), bytes.size());
  }
  return line;
}

}  // namespace

ServerOptions ParseServerOptions(int argc, char** argv) {
  ServerOptions o;
  auto env = [](const char* name) -> std::string {
    const char* v = std::getenv(name);
    return v ? v : "";
  };
  std::string idle = env("MS1_VMOUSE_IDLE_MS"), heartbeat = env("MS1_VMOUSE_HEARTBEAT_MS");
  std::string plugged = env("MS1_VMOUSE_PLUGGED");
  bool plugged_given = std::getenv("MS1_VMOUSE_PLUGGED") != nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* prefix) { return arg.substr(std::strlen(prefix)); };
    if (arg.rfind("--dir=", 0) == 0) o.dir = value("--dir=");
    if (arg.rfind("--ready-fd=", 0) == 0) o.ready_fd = std::atoi(value("--ready-fd=").c_str());
    if (arg.rfind("--idle-ms=", 0) == 0) idle = value("--idle-ms=");
    if (arg.rfind("--heartbeat-ms=", 0) == 0) heartbeat = value("--heartbeat-ms=");
    if (arg.rfind("--plugged=", 0) == 0) {
      plugged = value("--plugged=");
      plugged_given = true;
    }
  }
  if (o.dir.empty()) o.dir = InstanceDir();
  o.idle_exit = Millis(idle, o.idle_exit);
  o.heartbeat = Millis(heartbeat, o.heartbeat);
  if (plugged_given) o.plugged_at_start = ParseLinkList(plugged);
  return o;
}

SimServer::SimServer(ServerOptions options) : options_(std::move(options)) {
  for (ConnectionMode link : options_.plugged_at_start) mouse_.SetPlugged(link, true);
}

SimServer::~SimServer() {
  // The socket file goes before any client sees its connection end: a client
  // that cleans up the folder on that end must find nothing of ours left to
  // race with. The lock is let go last, so that a successor cannot bind its
  // socket before this one's file is gone.
  if (listen_fd_ >= 0) {
    ::unlink(SocketPath(options_.dir).c_str());
    ::close(listen_fd_);
  }
  clients_.clear();
  if (signal_fd_ >= 0) ::close(signal_fd_);
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

bool SimServer::Listen() {
  if (options_.dir.empty()) return false;  // InstanceDir said why
  // The lock decides which of two simultaneous starters serves the folder;
  // it also makes removing a stale socket file safe.
  lock_fd_ = ::open(LockPath(options_.dir).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock_fd_ < 0 || ::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
    std::cerr << "ms1-virtual-mouse: another instance serves " << options_.dir << "\n";
    return false;
  }
  // The socket is bound under a side name and renamed into place once it
  // listens: whoever sees the name appear can connect at once.
  const std::string path = SocketPath(options_.dir);
  const std::string side = path + ".new";
  sockaddr_un address{};
  if (side.size() >= sizeof address.sun_path) {
    std::cerr << "ms1-virtual-mouse: socket path too long: " << path << "\n";
    return false;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, side.c_str(), side.size() + 1);
  ::unlink(side.c_str());
  listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0 ||
      ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listen_fd_, 16) != 0 || ::rename(side.c_str(), path.c_str()) != 0) {
    std::cerr << "ms1-virtual-mouse: cannot listen on " << path << ": " << std::strerror(errno)
              << "\n";
    return false;
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  ::sigprocmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  signal_fd_ = ::signalfd(-1, &signals, SFD_CLOEXEC);
  return true;
}

int SimServer::Run() {
  const bool listening = Listen();
  if (options_.ready_fd >= 0) {
    if (listening) {
      const char byte = 1;
      [[maybe_unused]] const ssize_t n = ::write(options_.ready_fd, &byte, 1);
    }
    ::close(options_.ready_fd);
  }
  if (!listening) return 1;
  idle_since_ = Clock::now();
  next_heartbeat_ = Clock::now() + options_.heartbeat;
  while (!stopping_) {
    std::vector<pollfd> fds = {{listen_fd_, POLLIN, 0}, {signal_fd_, POLLIN, 0}};
    for (const auto& c : clients_) fds.push_back({c->connection->fd(), POLLIN, 0});
    const int ready = ::poll(fds.data(), fds.size(), PollTimeout());
    if (ready < 0 && errno != EINTR) return 1;
    const auto now = Clock::now();
    if (options_.heartbeat.count() > 0 && now >= next_heartbeat_) {
      Publish(mouse_.Heartbeat());
      next_heartbeat_ = now + options_.heartbeat;
    }
    if (fds[1].revents & POLLIN) break;
    // Clients are served by pointer: serving may drop clients from the list.
    std::vector<Client*> readable;
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents) readable.push_back(clients_[i - 2].get());
    }
    for (Client* client : readable) Serve(*client);
    std::erase_if(clients_, [](const auto& c) { return !c->connection; });
    if (fds[0].revents & POLLIN) Accept();
    if (!clients_.empty()) idle_since_ = now;
    if (options_.idle_exit.count() > 0 && clients_.empty() &&
        now - idle_since_ >= options_.idle_exit) {
      break;
    }
  }
  return 0;
}

// How many clients hold each link open: a program has taken a link into use
// once it opened it.
json SimServer::OpenedCounts() const {
  json counts = json::object();
  for (ConnectionMode link : kAllLinks) {
    counts[LinkName(link)] = std::ranges::count_if(
        clients_, [link](const auto& c) { return c->connection && c->opened == link; });
  }
  return counts;
}

int SimServer::PollTimeout() const {
  auto until = Clock::time_point::max();
  if (options_.heartbeat.count() > 0) until = next_heartbeat_;
  if (options_.idle_exit.count() > 0 && clients_.empty()) {
    until = std::min(until, idle_since_ + options_.idle_exit);
  }
  if (until == Clock::time_point::max()) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return static_cast<int>(std::max<int64_t>(left.count() + 1, 0));
}

void SimServer::Accept() {
  const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  auto client = std::make_unique<Client>();
  client->connection = std::make_unique<LineConnection>(fd);
  clients_.push_back(std::move(client));
}

void SimServer::Serve(Client& client) {
  if (!client.connection) return;
  if (!client.connection->FillBuffer()) {
    client.connection.reset();
    return;
  }
  std::string line;
  while (client.connection && client.connection->TakeBufferedLine(line)) {
    const json reply = Handle(client, line);
    if (reply.is_null()) continue;  // a report the mouse hangs on: its sender waits
    if (client.connection && !client.connection->WriteLine(reply.dump())) {
      client.connection.reset();
    }
  }
  // No request is this long: a client that never ends its line is dropped
  // before it can make the simulator hold unbounded input.
  if (client.connection && client.connection->Pending() > kMaxRequestLength) {
    client.connection.reset();
  }
}

void SimServer::Publish(const std::vector<LinkEvent>& events) {
  for (const LinkEvent& e : events) {
    if (e.kind == LinkEvent::Kind::kPlug && e.value == 0) {
      // A pulled device invalidates every handle opened on it.
      for (auto& c : clients_) {
        if (c->opened == e.link) c->opened.reset();
      }
    }
    const std::string line = EventJson(e).dump();
    for (auto& c : clients_) {
      if (c->connection && c->watching == e.link && !c->connection->WriteLine(line)) {
        c->connection.reset();
      }
    }
  }
}

json SimServer::HandleSend(Client& client, const std::string& hex) {
  Bytes report;
  if (!FromHex(hex, report)) return Error("the report is not hex");
  if (!client.opened) return {{"ok", true}, {"result", 0}, {"error", "the device is not open"}};
  const Delivery d = mouse_.Receive(*client.opened, report.data(), report.size());
  // The acknowledgement is on its way before SetFeature returns, as with the real receiver.
  Publish(d.events);
  if (fault_ && CountReport(*fault_)) {
    const StagedFault due = *fault_;
    fault_.reset();
    // Killed, not stopped: no reply, no goodbye, the socket file left behind.
    if (due.action == StagedFault::Action::kDie) ::kill(::getpid(), SIGKILL);
    if (due.action == StagedFault::Action::kHang) return json();
    Publish(mouse_.SetPlugged(due.link, false));
  }
  json reply = {{"ok", true}, {"result", d.result}, {"accepted", d.accepted}};
  if (!d.error.empty()) reply["error"] = d.error;
  return reply;
}

json SimServer::Handle(Client& client, const std::string& line) {
  const std::vector<std::string> words = Words(line);
  if (words.empty()) return Error("empty request");
  const std::string& verb = words[0];
  const auto link = words.size() == 2 ? ParseLink(words[1]) : std::nullopt;
  if (verb == "send" && words.size() == 2) return HandleSend(client, words[1]);
  if (verb == "open" && link) {
    const bool present = mouse_.Plugged(*link);
    client.opened = present ? link : std::nullopt;
    return {{"ok", true}, {"result", present ? 1 : 0}};
  }
  if (verb == "close") {
    client.opened.reset();
    return Ok();
  }
  if (verb == "watch" && link) {
    client.watching = link;
    return {{"ok", true}, {"plugged", mouse_.Plugged(*link)}};
  }
  if (verb == "ping") return {{"ok", true}, {"pid", ::getpid()}};
  if (verb == "after") {
    std::string error;
    fault_ = ParseStagedFault(words, error);
    return fault_ ? Ok() : Error(error);
  }
  if (verb == "stop") {
    stopping_ = true;
    return Ok();
  }
  return HandleSteering(words);
}

json SimServer::HandleSteering(const std::vector<std::string>& words) {
  const std::string& verb = words[0];
  const std::size_t n = words.size();
  int value = 0;
  auto events_reply = [&](const std::vector<LinkEvent>& events) {
    Publish(events);
    json reply = Ok();
    reply["sent_on"] = events.empty() ? json() : json(LinkName(events.front().link));
    return reply;
  };
  const auto link = n == 2 ? ParseLink(words[1]) : std::nullopt;
  if ((verb == "plug" || verb == "unplug") && link) {
    const auto events = mouse_.SetPlugged(*link, verb == "plug");
    Publish(events);
    return {{"ok", true}, {"changed", !events.empty()}};
  }
  if (verb == "press" && n == 3 && words[1] == "dpi") {
    if (!ParseInt(words[2], 1, 8, value)) return Error("the DPI level is 1 to 8");
    return events_reply(mouse_.PressDpi(value));
  }
  if (verb == "press" && n == 3 && words[1] == "mode") {
    if (!ParseInt(words[2], 0, 4, value)) return Error("the mode is 0 to 4");
    return events_reply(mouse_.PressMode(value));
  }
  if (verb == "battery" && (n == 2 || (n == 3 && words[2] == "asleep"))) {
    if (!ParseInt(words[1], 0, 255, value)) return Error("the battery level is 0 to 255");
    return events_reply(mouse_.ReportBattery(value, n == 3));
  }
  if (verb == "sleep" && n == 1) return events_reply(mouse_.Sleep());
  if (verb == "wake" && n == 1) return events_reply(mouse_.Wake());
  if ((verb == "lose-acks" || verb == "refuse") && n == 2) {
    if (!ParseInt(words[1], 0, 1000000, value)) return Error("the count must be 0 or more");
    if (verb == "refuse") {
      mouse_.RefuseReports(value);
    } else {
      mouse_.LoseAcknowledgements(value);
    }
    return Ok();
  }
  if (verb == "heartbeat" && n == 2) {
    if (!ParseInt(words[1], 0, 3600000, value)) return Error("the period is in milliseconds");
    options_.heartbeat = std::chrono::milliseconds(value);
    next_heartbeat_ = Clock::now() + options_.heartbeat;
    return Ok();
  }
  if (verb == "state" && n == 1) {
    nlohmann::json state = mouse_.StateJson();
    state["opened"] = OpenedCounts();
    return {{"ok", true}, {"state", state}};
  }
  if (verb == "log" && n == 1) return {{"ok", true}, {"log", mouse_.LogJson()}};
  if (verb == "clear-log" && n == 1) {
    mouse_.ClearLog();
    return Ok();
  }
  return Error("unknown request: " + verb);
}

}  // namespace ms1::vmouse
