// Test helper: asks a window whether its program is still answering, the way a
// window manager does (_NET_WM_PING). The answer comes from the program's
// interface thread, so a program stuck there does not answer; the X server
// alone cannot answer for it.
#pragma once

#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace ms1::test {

namespace x_ping_detail {

inline xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

inline bool IsPong(const xcb_generic_event_t* e, xcb_atom_t protocols, xcb_atom_t ping,
                   uint32_t stamp) {
  if ((e->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
  const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
  return m->type == protocols && m->data.data32[0] == ping && m->data.data32[1] == stamp;
}

}  // namespace x_ping_detail

// True when the program behind `window` (an id as xdotool prints it) answers
// a ping within `limit`.
inline bool AnswersPing(const std::string& display, const std::string& window,
                        std::chrono::milliseconds limit = std::chrono::seconds(1)) {
  using namespace x_ping_detail;
  std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c(
      xcb_connect(display.c_str(), nullptr), &xcb_disconnect);
  if (xcb_connection_has_error(c.get())) return false;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data->root;
  const xcb_window_t target = static_cast<xcb_window_t>(std::stoul(window));
  const xcb_atom_t protocols = Atom(c.get(), "WM_PROTOCOLS");
  const xcb_atom_t ping = Atom(c.get(), "_NET_WM_PING");
  // Qt sends its answer to the root window's structure listeners (a window
  // manager listens there with substructure redirection).
  const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(c.get(), root, XCB_CW_EVENT_MASK, &mask);
  static uint32_t counter = 0;
  const uint32_t stamp = 0x51A7000 + ++counter;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = target;
  message.type = protocols;
  message.data.data32[0] = ping;
  message.data.data32[1] = stamp;
  message.data.data32[2] = target;
  xcb_send_event(c.get(), 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
  xcb_flush(c.get());

  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c.get())) {
      const bool pong = IsPong(e, protocols, ping, stamp);
      std::free(e);
      if (pong) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || xcb_connection_has_error(c.get())) return false;
    pollfd p{xcb_get_file_descriptor(c.get()), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left.count()));
  }
}

}  // namespace ms1::test
