// Starts a program and times it from the start to the mapping of its window
// with a given title, waiting on the X server's map notifications rather than
// polling (a poller would take processor time from the program it times).
// After the window appears the program idles for a while; then its resident
// and proportional memory are read, it is ended, and one line is printed:
//   <start-up ms> <RSS kB> <PSS kB>
//
// Usage: ms1_window_start IDLE_SECONDS TITLE PROGRAM [ARGS...]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
  Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr),
      &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string Title(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property) {
  Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(
          x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr),
      &std::free);
  if (!reply) return {};
  return {static_cast<const char*>(xcb_get_property_value(reply.get())),
          static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

// The value in kB of `key` in a /proc file of "Key:   value kB" lines.
long ProcKb(pid_t pid, const char* file, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size() + 1, key + ":") == 0) return std::atol(line.c_str() + key.size() + 1);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s IDLE_SECONDS TITLE PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  const double idle_seconds = std::atof(argv[1]);
  const std::string title = argv[2];
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    std::fprintf(stderr, "cannot reach the X server\n");
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t net_name = Atom(x, "_NET_WM_NAME");

  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[3], argv + 3);
    _exit(127);
  }
  int found_ms = -1;
  while (found_ms < 0) {
    Reply<xcb_generic_event_t> event(xcb_wait_for_event(x), &std::free);
    if (!event) break;
    if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
    const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
    if (Title(x, map->window, net_name) == title || Title(x, map->window, XCB_ATOM_WM_NAME) == title) {
      found_ms = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    }
  }
  xcb_disconnect(x);
  std::this_thread::sleep_for(std::chrono::duration<double>(idle_seconds));
  const long rss = ProcKb(child, "status", "VmRSS");
  const long pss = ProcKb(child, "smaps_rollup", "Pss");
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  if (found_ms < 0) return 1;
  std::printf("%d %ld %ld\n", found_ms, rss, pss);
  return 0;
}
