// The keyboard layout keys are read with, kept in step with the X server:
// the server tells the control connection when the keyboard, its map or its
// active group changes, and the layout is read again.
#pragma once

#include <xcb/xcb.h>

#include <memory>

namespace ms1::keylayout {
class Layout;
}

namespace ms1::inputhook {

class LayoutFollower {
 public:
  // Asks for the change notifications first, then reads the layout, so that
  // no change between the two goes unseen.
  explicit LayoutFollower(xcb_connection_t* connection);
  ~LayoutFollower();
  LayoutFollower(const LayoutFollower&) = delete;
  LayoutFollower& operator=(const LayoutFollower&) = delete;

  // Null when the server's layout cannot be read (then no key is reported).
  const keylayout::Layout* Current() const { return layout_.get(); }

  // Takes note of one event of the connection; true when it was one of ours.
  bool Notice(const xcb_generic_event_t& event);

  // Reads the layout again if a noticed event changed it.
  void Refresh();

 private:
  void Read();

  xcb_connection_t* connection_;
  uint8_t xkb_event_base_ = 0;
  bool has_xkb_ = false;
  bool stale_ = false;
  std::unique_ptr<keylayout::Layout> layout_;
};

}  // namespace ms1::inputhook
