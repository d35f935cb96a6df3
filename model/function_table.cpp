#include "model/function_table.h"

#include <algorithm>

namespace ms1 {

namespace {

// Menu item names are plain ASCII; a menu file may spell them in any case.
bool SameItemName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::ranges::equal(a, b, {}, lower, lower);
}

constexpr DeviceBytes B(uint8_t c, uint8_t p1, uint8_t p2) { return {c, p1, p2}; }

// Keyboard rows carry the HID modifier byte and the key's usage id.
const FunctionRow kTable[] = {
    {0, "button_off_text", "ms_1_button_off", B(0x01, 0x00, 0x00)},
    {1, "left_click_text", "ms_1_click", B(0x02, 0x00, 0x00)},
    {2, "right_click_text", "ms_1_menu", B(0x03, 0x00, 0x00)},
    {3, "wheel_click_text", "ms_1_scroll", B(0x04, 0x00, 0x00)},
    {4, "forward_text", "ms_1_forward", B(0x06, 0x00, 0x00)},
    {5, "backward_text", "ms_1_backward", B(0x05, 0x00, 0x00)},
    {6, "dpi_cycle_text", "ms_1_dpi_cycle", B(0x0D, 0x00, 0x00)},
    {7, "dpi_up_text", "ms_1_dpi_up", B(0x0E, 0x00, 0x00)},
    {8, "dpi_down_text", "ms_1_dpi_down", B(0x0F, 0x00, 0x00)},
    {9, "double_click_text", "ms_1_double_click", B(0x07, 0x00, 0x00)},
    {10, "fire_button_text", "ms_1_fire_button", B(0x08, 0x00, 0x00)},
    {11, "scroll_up_text", "ms_1_scroll_up", B(0x09, 0x00, 0x00)},
    {12, "scroll_down_text", "ms_1_scroll_down", B(0x0A, 0x00, 0x00)},
    {13, "titl_left_text", "ms_1_titl_left", B(0x0B, 0x00, 0x00)},
    {14, "titl_right_text", "ms_1_titl_right", B(0x0C, 0x00, 0x00)},
    {16, "", "ms_1_shortcut", B(0x11, 0x00, 0x00)},  // label composed from the shortcut
    {17, "", "ms_1_select_macro", B(0x12, 0x00, 0x00)},  // label composed from the macro
    {19, "", "", B(0x13, 0x00, 0x00)},
    {21, "", "", B(0x2B, 0x00, 0x00)},
    {22, "easy_aim_text", "ms_1_easy_aim", B(0x10, 0x00, 0x03)},
    {23, "led_loop_text", "ms_1_led_loop", B(0x29, 0x00, 0x03)},
    {32, "cut_text", "ms_1_cut", B(0x11, 0x01, 0x1B)},
    {33, "copy_text", "ms_1_copy", B(0x11, 0x01, 0x06)},
    {34, "paste_text", "ms_1_paste", B(0x11, 0x01, 0x19)},
    {35, "open_text", "ms_1_open", B(0x11, 0x01, 0x12)},
    {36, "save_text", "ms_1_save", B(0x11, 0x01, 0x16)},
    {37, "find_text", "ms_1_find", B(0x11, 0x01, 0x09)},
    {38, "redo_text", "ms_1_redo", B(0x11, 0x01, 0x1C)},
    {39, "undo_text", "", B(0x11, 0x01, 0x1D)},
    {40, "select_all_text", "ms_1_select_all", B(0x11, 0x01, 0x04)},
    {41, "print_text", "ms_1_print", B(0x11, 0x01, 0x13)},
    {42, "close_window_text", "ms_1_close_window", B(0x11, 0x04, 0x3D)},
    {43, "swap_windows_text", "ms_1_swap_windows", B(0x11, 0x04, 0x2B)},
    {44, "show_desktop_text", "ms_1_show_desktop", B(0x11, 0x08, 0x07)},
    {45, "run_command_text", "ms_1_run_command", B(0x11, 0x08, 0x15)},
    {46, "lock_pc_text", "ms_1_lock_pc", B(0x11, 0x08, 0x0F)},
    {47, "", "", B(0x11, 0x01, 0x11)},
    {48, "", "", B(0x11, 0x01, 0x2E)},
    {49, "", "", B(0x11, 0x01, 0x2D)},
    {50, "screen_capture_text", "ms_1_screen_capture", B(0x11, 0x0A, 0x16)},
    {51, "task_view_text", "", std::nullopt},
    {54, "profile_cycle_text", "", B(0x34, 0x00, 0x00)},
    {55, "profile_up_text", "", B(0x35, 0x00, 0x00)},
    {56, "profile_down_text", "", B(0x36, 0x00, 0x00)},
    {64, "media_player_text", "ms_1_media_player", B(0x15, 0x00, 0x00)},
    {65, "play_pause_text", "ms_1_play_pause", B(0x18, 0x00, 0x00)},
    {66, "media_stop_text", "ms_1_media_stop", B(0x19, 0x00, 0x00)},
    {67, "previous_track_text", "ms_1_pre_track", B(0x16, 0x00, 0x00)},
    {68, "next_track_text", "ms_1_next_track", B(0x17, 0x00, 0x00)},
    {69, "volume_up_text", "ms_1_volume_up", B(0x1B, 0x00, 0x00)},
    {70, "volume_down_text", "ms_1_volume_down", B(0x1C, 0x00, 0x00)},
    {71, "mute_text", "ms_1_mute", B(0x1A, 0x00, 0x00)},
    {80, "browser_home_text", "ms_1_browser_home", B(0x25, 0x00, 0x00)},
    {81, "browser_favorites_text", "ms_1_browser_favorites", B(0x11, 0x03, 0x12)},
    {82, "browser_forward_text", "ms_1_browser_forward", B(0x20, 0x00, 0x00)},
    {83, "browser_backward_text", "ms_1_browser_backward", B(0x21, 0x00, 0x00)},
    {84, "browser_stop_text", "ms_1_browser_stop", B(0x22, 0x00, 0x00)},
    {85, "browser_refresh_text", "ms_1_browser_refresh", B(0x24, 0x00, 0x00)},
    {86, "browser_search_text", "ms_1_browser_search", B(0x26, 0x00, 0x00)},
    {87, "email_text", "ms_1_email", B(0x1E, 0x00, 0x00)},
    {88, "calculator_text", "ms_1_calculator", B(0x1D, 0x00, 0x00)},
    {89, "my_computer_text", "ms_1_my_computer", B(0x23, 0x00, 0x00)},
    {115, "", "", B(0x14, 0x00, 0x00)},
};

const FunctionRow* FindRow(uint8_t code) {
  for (const FunctionRow& row : kTable) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace

std::span<const FunctionRow> FunctionTable() { return kTable; }

DeviceBytes DeviceBytesFor(uint8_t code) {
  const FunctionRow* row = FindRow(code);
  return row && row->device_bytes ? *row->device_bytes : DeviceBytes{0, 0, 0};
}

std::string_view LabelKeyFor(uint8_t code) {
  const FunctionRow* row = FindRow(code);
  return row ? row->label_key : std::string_view{};
}

uint8_t FunctionForMenuItem(std::string_view menu_item) {
  for (const FunctionRow& row : kTable) {
    if (!row.menu_item.empty() && SameItemName(row.menu_item, menu_item)) return row.code;
  }
  return 1;
}

}  // namespace ms1
