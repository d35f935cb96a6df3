#include "libs/keylayout/key_layout.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

#include "libs/keylayout/keyboard_defaults.h"
#include "libs/keylayout/us_positions.h"
#include "libs/keylayout/virtual_key_assignment.h"

namespace ms1::keylayout {
namespace {

constexpr uint32_t kXkbKeyOffset = 8;  // xkb key code = Linux key code + 8
constexpr const char* kSystemKeyboardFile = "/etc/default/keyboard";

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Callers are told "null" for an unknown layout; xkbcommon's own complaints
// about it would only be noise on standard error.
xkb_context* NewContext(xkb_context_flags flags) {
  xkb_context* context = xkb_context_new(flags);
  if (context != nullptr) xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
  return context;
}

char32_t CharacterAtLevel(xkb_keymap* keymap, uint32_t linux_key, uint32_t group,
                          uint32_t level) {
  const xkb_keysym_t* syms = nullptr;
  const int count =
      xkb_keymap_key_get_syms_by_level(keymap, linux_key + kXkbKeyOffset, group, level, &syms);
  return count == 1 ? xkb_keysym_to_utf32(syms[0]) : 0;
}

// Dead keys and the spacing characters that show them.
char32_t SpacingAccent(xkb_keysym_t keysym) {
  switch (keysym) {
    case XKB_KEY_dead_grave: return U'`';
    case XKB_KEY_dead_acute: return U'\u00B4';
    case XKB_KEY_dead_circumflex: return U'^';
    case XKB_KEY_dead_tilde: return U'~';
    case XKB_KEY_dead_macron: return U'\u00AF';
    case XKB_KEY_dead_breve: return U'\u02D8';
    case XKB_KEY_dead_abovedot: return U'\u02D9';
    case XKB_KEY_dead_diaeresis: return U'\u00A8';
    case XKB_KEY_dead_abovering: return U'\u02DA';
    case XKB_KEY_dead_doubleacute: return U'\u02DD';
    case XKB_KEY_dead_caron: return U'\u02C7';
    case XKB_KEY_dead_cedilla: return U'\u00B8';
    case XKB_KEY_dead_ogonek: return U'\u02DB';
    default: return 0;
  }
}

// The accents above all lie below U+0800: one or two UTF-8 bytes.
std::string Utf8(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
}

std::unique_ptr<Layout> FromDisplay() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  std::unique_ptr<Layout> layout;
  if (xcb_connection_has_error(connection) == 0) layout = Layout::FromX(connection);
  xcb_disconnect(connection);
  return layout;
}

}  // namespace

Layout::Layout(xkb_context* context, xkb_keymap* keymap, uint32_t group)
    : context_(context), keymap_(keymap), group_(group) {
  if (keymap_ != nullptr) {
    plain_state_ = xkb_state_new(keymap_);
    if (plain_state_ != nullptr) xkb_state_update_mask(plain_state_, 0, 0, 0, 0, 0, group_);
  }
  virtual_keys_ = AssignVirtualKeys([this](uint32_t linux_key) {
    if (plain_state_ == nullptr) return PrintedCharacters{};
    return PrintedCharacters{
        static_cast<char32_t>(xkb_state_key_get_utf32(plain_state_, linux_key + kXkbKeyOffset)),
        CharacterAtLevel(keymap_, linux_key, group_, 1)};
  });
}

Layout::~Layout() {
  xkb_state_unref(plain_state_);
  xkb_keymap_unref(keymap_);
  xkb_context_unref(context_);
}

std::unique_ptr<Layout> Layout::FromX(xcb_connection_t* connection) {
  if (connection == nullptr || xcb_connection_has_error(connection) != 0) return nullptr;
  if (xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                  XKB_X11_MIN_MINOR_XKB_VERSION,
                                  XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                  nullptr) == 0) {
    return nullptr;
  }
  const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  if (device == -1) return nullptr;
  xkb_context* context = NewContext(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
  if (context == nullptr) return nullptr;
  xkb_keymap* keymap = xkb_x11_keymap_new_from_device(context, connection, device,
                                                      XKB_KEYMAP_COMPILE_NO_FLAGS);
  xkb_state* server_state =
      keymap != nullptr ? xkb_x11_state_new_from_device(keymap, connection, device) : nullptr;
  if (server_state == nullptr) {
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return nullptr;
  }
  const uint32_t group = xkb_state_serialize_layout(server_state, XKB_STATE_LAYOUT_EFFECTIVE);
  xkb_state_unref(server_state);
  return std::unique_ptr<Layout>(new Layout(context, keymap, group));
}

std::unique_ptr<Layout> Layout::FromNames(const std::string& layout, const std::string& variant) {
  // Empty names are filled from the XKB_DEFAULT_* variables by xkbcommon;
  // given names stand on their own, untouched by those variables.
  xkb_context* context = NewContext(layout.empty() ? XKB_CONTEXT_NO_FLAGS
                                                   : XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
  if (context == nullptr) return nullptr;
  const xkb_rule_names names = {nullptr, nullptr, layout.empty() ? nullptr : layout.c_str(),
                                layout.empty() ? nullptr : variant.c_str(), nullptr};
  xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (keymap == nullptr) {
    xkb_context_unref(context);
    return nullptr;
  }
  return std::unique_ptr<Layout>(new Layout(context, keymap, 0));
}

std::unique_ptr<Layout> Layout::Active() {
  if (Set("DISPLAY")) {
    if (auto layout = FromDisplay()) return layout;
  }
  if (Set("XKB_DEFAULT_LAYOUT")) {
    if (auto layout = FromNames({})) return layout;
  }
  const LayoutNames system = ReadKeyboardDefaultsFile(kSystemKeyboardFile);
  if (!system.layout.empty()) {
    if (auto layout = FromNames(system.layout, system.variant)) return layout;
  }
  if (auto layout = FromNames("us")) return layout;
  // No keyboard data installed at all: keys still carry their US position
  // codes, and print nothing.
  return std::unique_ptr<Layout>(new Layout(nullptr, nullptr, 0));
}

uint32_t Layout::VirtualKeyOf(uint32_t linux_key) const {
  return linux_key < virtual_keys_.size() ? virtual_keys_[linux_key] : 0;
}

uint32_t Layout::KeyOf(uint32_t virtual_key) const {
  if (virtual_key == 0) return 0;
  for (uint32_t key = 0; key < virtual_keys_.size(); ++key) {
    if (virtual_keys_[key] == virtual_key) return key;
  }
  return 0;
}

std::string Layout::TextOf(uint32_t linux_key) const {
  if (plain_state_ == nullptr || linux_key == 0) return {};
  char text[64];
  xkb_state_key_get_utf8(plain_state_, linux_key + kXkbKeyOffset, text, sizeof text);
  return text;
}

std::string Layout::AccentOf(uint32_t linux_key) const {
  if (plain_state_ == nullptr || linux_key == 0) return {};
  const char32_t accent =
      SpacingAccent(xkb_state_key_get_one_sym(plain_state_, linux_key + kXkbKeyOffset));
  return accent != 0 ? Utf8(accent) : "";
}

std::string Layout::Name() const {
  if (keymap_ == nullptr) return {};
  const char* name = xkb_keymap_layout_get_name(keymap_, group_);
  return name != nullptr ? name : "";
}

}  // namespace ms1::keylayout
