// The fixed-size records that are the mouse's configuration in memory, in the
// profile and macro stores and in exported files. Every offset is a file format:
// the records are copied to and from disk byte for byte (little-endian).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace ms1 {

static_assert(std::endian::native == std::endian::little,
              "records are stored byte for byte in little-endian order");

inline constexpr int kModeCount = 5;
inline constexpr int kButtonCount = 18;
inline constexpr int kDpiLevelCount = 8;
inline constexpr int kMaxMacroActions = 46;
inline constexpr int kProfileNameChars = 50;  // 49 characters and the terminator
inline constexpr int kMacroNameChars = 24;    // 23 characters and the terminator

inline constexpr uint8_t kFunctionLeftClick = 1;
inline constexpr uint8_t kFunctionShortcut = 16;
inline constexpr uint8_t kFunctionMacro = 17;

inline constexpr uint8_t kActionPress = 1;
inline constexpr uint8_t kActionRelease = 2;

struct MacroAction {
  uint8_t key;       // key or mouse-button code (241..245 are mouse buttons)
  uint8_t state;     // 1 = press; any other value counts as a release
  uint16_t delay_ms; // pause after this step
};

struct ButtonRecord {
  uint8_t button_index;
  uint8_t function_code;
  uint8_t reserved_2;
  uint8_t shortcut_key;        // HID keyboard usage of the shortcut key
  uint8_t reserved_4[3];
  uint8_t shortcut_modifiers;  // bit 0 Ctrl, bit 1 Shift, bit 2 Alt, bit 3 Win
  uint16_t reserved_8;
  uint8_t reserved_10[2];
  int32_t macro_repeat_mode;
  char16_t macro_name[kMacroNameChars];
  int32_t macro_loop_count;
  uint16_t macro_action_count;
  uint8_t reserved_70[1002];
  int32_t macro_index;         // list position at assignment time; -1 = none
  int32_t reserved_1076;
  uint8_t reserved_1080[4];
  uint8_t macro_reserved;
  uint8_t reserved_1085[3];
  MacroAction macro_actions[kMaxMacroActions];
};

struct ModeRecord {
  uint8_t reserved_0[200];
  char16_t text_a[500];
  char16_t text_b[500];
  int32_t reserved_2200;
  int32_t reserved_2204;
  int32_t reserved_2208;
  int32_t reserved_2212;
  uint8_t reserved_2216[8];
  int32_t dpi_reserved;
  int32_t settings_byte_a;
  int32_t settings_byte_b;
  uint8_t reserved_2236[8];
  int32_t dpi_value[kDpiLevelCount];      // steps of 40 DPI
  int32_t dpi_value_alt[kDpiLevelCount];
  int32_t dpi_enabled[kDpiLevelCount];
  int32_t light_brightness;
  int32_t light_speed;
  int32_t sleep_timer;                    // shown as value x 0.5
  int32_t dpi_level;
  int32_t polling_rate;                   // 0..3: 125, 250, 500, 1000 Hz
  int32_t move_mode;
  int32_t light_effect;
  int32_t light_reserved_a;
  int32_t light_reserved_b;
  int32_t light_reserved_c;
  int32_t light_color;                    // 0x00BBGGRR
  int32_t dpi_color[kDpiLevelCount];      // 0x00BBGGRR
  int32_t color_reserved[kDpiLevelCount];
  int32_t reserved_2448;
  ButtonRecord buttons[kButtonCount];
  uint8_t reserved_tail[7632];
};

struct ProfileRecord {
  int32_t active_mode;
  char16_t name[kProfileNameChars];
  ModeRecord modes[kModeCount];
};

struct MacroRecord {
  char16_t name[kMacroNameChars];
  int32_t loop_count;
  int32_t action_count;
  MacroAction actions[kMaxMacroActions];
};

inline constexpr std::size_t kProfileRecordSize = 165004;
inline constexpr std::size_t kModeRecordSize = 32980;
inline constexpr std::size_t kButtonRecordSize = 1272;
inline constexpr std::size_t kMacroRecordSize = 240;
// Start of the button area inside a mode record; everything from here to the
// end of the mode record belongs to the button section of an apply.
inline constexpr std::size_t kButtonAreaOffset = 2452;

// The layout tables, checked at compile time.
#define MS1_AT(type, field, offset) static_assert(offsetof(type, field) == (offset), #type "::" #field)
static_assert(sizeof(MacroAction) == 4);
MS1_AT(MacroAction, key, 0);
MS1_AT(MacroAction, state, 1);
MS1_AT(MacroAction, delay_ms, 2);

static_assert(sizeof(ButtonRecord) == kButtonRecordSize);
MS1_AT(ButtonRecord, button_index, 0);
MS1_AT(ButtonRecord, function_code, 1);
MS1_AT(ButtonRecord, reserved_2, 2);
MS1_AT(ButtonRecord, shortcut_key, 3);
MS1_AT(ButtonRecord, reserved_4, 4);
MS1_AT(ButtonRecord, shortcut_modifiers, 7);
MS1_AT(ButtonRecord, reserved_8, 8);
MS1_AT(ButtonRecord, reserved_10, 10);
MS1_AT(ButtonRecord, macro_repeat_mode, 12);
MS1_AT(ButtonRecord, macro_name, 16);
MS1_AT(ButtonRecord, macro_loop_count, 64);
MS1_AT(ButtonRecord, macro_action_count, 68);
MS1_AT(ButtonRecord, reserved_70, 70);
MS1_AT(ButtonRecord, macro_index, 1072);
MS1_AT(ButtonRecord, reserved_1076, 1076);
MS1_AT(ButtonRecord, reserved_1080, 1080);
MS1_AT(ButtonRecord, macro_reserved, 1084);
MS1_AT(ButtonRecord, reserved_1085, 1085);
MS1_AT(ButtonRecord, macro_actions, 1088);

static_assert(sizeof(ModeRecord) == kModeRecordSize);
MS1_AT(ModeRecord, reserved_0, 0);
MS1_AT(ModeRecord, text_a, 200);
MS1_AT(ModeRecord, text_b, 1200);
MS1_AT(ModeRecord, reserved_2200, 2200);
MS1_AT(ModeRecord, reserved_2204, 2204);
MS1_AT(ModeRecord, reserved_2208, 2208);
MS1_AT(ModeRecord, reserved_2212, 2212);
MS1_AT(ModeRecord, reserved_2216, 2216);
MS1_AT(ModeRecord, dpi_reserved, 2224);
MS1_AT(ModeRecord, settings_byte_a, 2228);
MS1_AT(ModeRecord, settings_byte_b, 2232);
MS1_AT(ModeRecord, reserved_2236, 2236);
MS1_AT(ModeRecord, dpi_value, 2244);
MS1_AT(ModeRecord, dpi_value_alt, 2276);
MS1_AT(ModeRecord, dpi_enabled, 2308);
MS1_AT(ModeRecord, light_brightness, 2340);
MS1_AT(ModeRecord, light_speed, 2344);
MS1_AT(ModeRecord, sleep_timer, 2348);
MS1_AT(ModeRecord, dpi_level, 2352);
MS1_AT(ModeRecord, polling_rate, 2356);
MS1_AT(ModeRecord, move_mode, 2360);
MS1_AT(ModeRecord, light_effect, 2364);
MS1_AT(ModeRecord, light_reserved_a, 2368);
MS1_AT(ModeRecord, light_reserved_b, 2372);
MS1_AT(ModeRecord, light_reserved_c, 2376);
MS1_AT(ModeRecord, light_color, 2380);
MS1_AT(ModeRecord, dpi_color, 2384);
MS1_AT(ModeRecord, color_reserved, 2416);
MS1_AT(ModeRecord, reserved_2448, 2448);
MS1_AT(ModeRecord, buttons, kButtonAreaOffset);
MS1_AT(ModeRecord, reserved_tail, 25348);

static_assert(sizeof(ProfileRecord) == kProfileRecordSize);
MS1_AT(ProfileRecord, active_mode, 0);
MS1_AT(ProfileRecord, name, 4);
MS1_AT(ProfileRecord, modes, 104);

static_assert(sizeof(MacroRecord) == kMacroRecordSize);
MS1_AT(MacroRecord, name, 0);
MS1_AT(MacroRecord, loop_count, 48);
MS1_AT(MacroRecord, action_count, 52);
MS1_AT(MacroRecord, actions, 56);
#undef MS1_AT

static_assert(std::is_trivially_copyable_v<ProfileRecord> && std::is_standard_layout_v<ProfileRecord>);
static_assert(std::is_trivially_copyable_v<MacroRecord> && std::is_standard_layout_v<MacroRecord>);

}  // namespace ms1
