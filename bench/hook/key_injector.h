// Presses keys through XTEST on a connection of its own, the way an input
// device or an injector like xdotool would.
#pragma once

#include <xcb/xcb.h>

#include <string>

namespace ms1::bench {

class KeyInjector {
 public:
  // Null connection state when the display cannot be reached: Ok() is false.
  explicit KeyInjector(const std::string& display);
  ~KeyInjector();
  KeyInjector(const KeyInjector&) = delete;
  KeyInjector& operator=(const KeyInjector&) = delete;

  bool Ok() const;

  // A mapped window that has the input focus and wants key events, as the
  // application being typed into on a desktop: the server then writes every
  // key to a client at once.
  void FocusOwnWindow();

  // Sends one key event. `wait` makes a round trip afterwards, as xdotool
  // does; without it the request is only flushed.
  void Key(uint8_t x_key_code, bool pressed, bool wait);

  // Reads away the key events the focus window received.
  void DropEvents();

  // A request with a reply: the server writes to this client, and with that
  // hands over everything it holds for any client.
  void RoundTrip();

 private:
  xcb_connection_t* connection_;
};

}  // namespace ms1::bench
