#include "key_injector.h"

#include <xcb/xtest.h>

#include <cstdlib>

namespace ms1::bench {

KeyInjector::KeyInjector(const std::string& display)
    : connection_(xcb_connect(display.c_str(), nullptr)) {}

KeyInjector::~KeyInjector() { xcb_disconnect(connection_); }

bool KeyInjector::Ok() const { return xcb_connection_has_error(connection_) == 0; }

void KeyInjector::FocusOwnWindow() {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  const xcb_window_t window = xcb_generate_id(connection_);
  const uint32_t events = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE;
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 200, 200, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                    &events);
  xcb_map_window(connection_, window);
  xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
  RoundTrip();
}

void KeyInjector::Key(uint8_t x_key_code, bool pressed, bool wait) {
  xcb_test_fake_input(connection_, pressed ? XCB_KEY_PRESS : XCB_KEY_RELEASE, x_key_code,
                      XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  xcb_flush(connection_);
  if (wait) RoundTrip();
}

void KeyInjector::DropEvents() {
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
}

void KeyInjector::RoundTrip() {
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

}  // namespace ms1::bench
