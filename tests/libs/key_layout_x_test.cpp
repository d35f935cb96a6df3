// The layout follows the X server: the layout setxkbmap sets on a private
// Xvfb, and the group that is locked at the moment of the call.
#include <xcb/xcb.h>
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <gtest/gtest.h>

#include "libs/keylayout/key_layout.h"
#include "support/x_session.h"

namespace ms1::keylayout {
namespace {

class KeyLayoutOnX : public test::KeyboardOnX {
 protected:
  void TearDown() override {
    if (connection_ != nullptr) xcb_disconnect(connection_);
  }

  xcb_connection_t* Connection() {
    if (connection_ == nullptr) connection_ = xcb_connect(x_.Display().c_str(), nullptr);
    return connection_;
  }

  void LockGroup(uint8_t group) {
    ASSERT_NE(Layout::FromX(Connection()), nullptr);  // sets the XKB extension up
    const auto cookie = xcb_xkb_latch_lock_state_checked(Connection(), XCB_XKB_ID_USE_CORE_KBD, 0,
                                                         0, 1, group, 0, 0, 0);
    xcb_generic_error_t* error = xcb_request_check(Connection(), cookie);
    EXPECT_EQ(error, nullptr);
    free(error);
  }

  xcb_connection_t* connection_ = nullptr;
};

TEST_F(KeyLayoutOnX, FromXAndActiveFollowSetxkbmap) {
  struct Step {
    std::string layout;
    uint32_t linux_key;
    uint32_t virtual_key;
    std::string name;
  } const steps[] = {
      {"fr", 16, 'A', "French"},
      {"de", 44, 'Y', "German"},
      {"us", 16, 'Q', "English (US)"},
  };
  for (const Step& s : steps) {
    SetLayout(s.layout);
    const auto from_x = Layout::FromX(Connection());
    ASSERT_NE(from_x, nullptr);
    EXPECT_EQ(from_x->VirtualKeyOf(s.linux_key), s.virtual_key) << s.layout;
    EXPECT_EQ(from_x->Name(), s.name);
    const auto active = Layout::Active();  // its own connection, through DISPLAY
    EXPECT_EQ(active->VirtualKeyOf(s.linux_key), s.virtual_key) << s.layout;
    EXPECT_EQ(active->Name(), s.name);
  }
}

TEST_F(KeyLayoutOnX, TheLockedGroupDecides) {
  SetLayout("us,fr");
  EXPECT_EQ(Layout::Active()->TextOf(16), "q");
  LockGroup(1);
  EXPECT_EQ(Layout::FromX(Connection())->TextOf(16), "a");
  EXPECT_EQ(Layout::Active()->VirtualKeyOf(16), 'A');
  EXPECT_EQ(Layout::Active()->Name(), "French");
  LockGroup(0);
  EXPECT_EQ(Layout::Active()->VirtualKeyOf(16), 'Q');
}

TEST(KeyLayoutWithoutX, NullOrBrokenConnectionGivesNull) {
  EXPECT_EQ(Layout::FromX(nullptr), nullptr);
  xcb_connection_t* broken = xcb_connect(":no-such-display", nullptr);
  EXPECT_EQ(Layout::FromX(broken), nullptr);
  xcb_disconnect(broken);
}

}  // namespace
}  // namespace ms1::keylayout
