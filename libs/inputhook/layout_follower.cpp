#include "libs/inputhook/layout_follower.h"

#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>

#include "libs/keylayout/key_layout.h"

namespace ms1::inputhook {
namespace {

constexpr uint16_t kLayoutEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                   XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                   XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
constexpr uint16_t kMapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                               XCB_XKB_MAP_PART_MODIFIER_MAP;

bool UseXkb(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xkb_id);
  if (extension == nullptr || extension->present == 0) return false;
  xcb_xkb_use_extension_reply_t* reply = xcb_xkb_use_extension_reply(
      connection,
      xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
  const bool supported = reply != nullptr && reply->supported != 0;
  std::free(reply);
  return supported;
}

// Only a change of the active group matters among the state changes: the
// modifiers a key is pressed with do not change the virtual key it carries.
void SelectLayoutChanges(xcb_connection_t* connection) {
  xcb_xkb_select_events_details_t details{};
  details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
  details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
  details.affectState = XCB_XKB_STATE_PART_GROUP_STATE;
  details.stateDetails = XCB_XKB_STATE_PART_GROUP_STATE;
  xcb_xkb_select_events_aux(connection, XCB_XKB_ID_USE_CORE_KBD, kLayoutEvents, 0, 0, kMapParts,
                            kMapParts, &details);
}

}  // namespace

LayoutFollower::LayoutFollower(xcb_connection_t* connection) : connection_(connection) {
  has_xkb_ = UseXkb(connection_);
  if (has_xkb_) {
    xkb_event_base_ = xcb_get_extension_data(connection_, &xcb_xkb_id)->first_event;
    SelectLayoutChanges(connection_);
  }
  Read();
}

LayoutFollower::~LayoutFollower() = default;

bool LayoutFollower::Notice(const xcb_generic_event_t& event) {
  if (!has_xkb_ || (event.response_type & 0x7f) != xkb_event_base_) return false;
  // XKB events share one event code and name their kind in the second byte.
  switch (event.pad0) {
    case XCB_XKB_NEW_KEYBOARD_NOTIFY:
    case XCB_XKB_MAP_NOTIFY:
      stale_ = true;
      break;
    case XCB_XKB_STATE_NOTIFY: {
      const auto& state = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event);
      if ((state.changed & XCB_XKB_STATE_PART_GROUP_STATE) != 0) stale_ = true;
      break;
    }
    default: break;
  }
  return true;
}

void LayoutFollower::Refresh() {
  if (!stale_) return;
  stale_ = false;
  Read();
}

void LayoutFollower::Read() { layout_ = keylayout::Layout::FromX(connection_); }

}  // namespace ms1::inputhook
