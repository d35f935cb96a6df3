// The controls of the main layout the device page works with, found once by
// name when the page starts. A control the layout lacks stays null and is
// left alone.
#pragma once

#include <array>

class QAbstractButton;
class QAbstractSlider;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QWidget;

namespace ms1 {

class PageHost;

inline constexpr int kPageKeyCount = 18;
inline constexpr int kPageModeOptionCount = 2;
inline constexpr int kPageDpiLevelCount = 8;
inline constexpr int kPagePollingRateCount = 4;

// A section check box and the container it opens and closes.
struct PageSection {
  QCheckBox* check = nullptr;
  QWidget* container = nullptr;
};

struct PageControls {
  std::array<QAbstractButton*, kPageKeyCount> key_buttons{};
  std::array<QWidget*, kPageKeyCount> key_controls{};
  std::array<QAbstractButton*, kPageModeOptionCount> mode_options{};
  QAbstractButton* macro_button = nullptr;
  QListWidget* profile_list = nullptr;
  QAbstractButton* profile_add = nullptr;
  QAbstractButton* profile_delete = nullptr;
  QAbstractButton* profile_rename = nullptr;
  QAbstractButton* profile_import = nullptr;
  QAbstractButton* profile_export = nullptr;
  QAbstractButton* profile_reset = nullptr;
  QWidget* wired_icon = nullptr;
  QWidget* receiver_icon = nullptr;
  QWidget* bluetooth_icon = nullptr;
  // In the order of their section boxes: button, profile, power, dpi, light,
  // polling rate, mouse attribute, power setting.
  std::array<PageSection, 8> sections{};
  std::array<QAbstractSlider*, kPageDpiLevelCount> dpi_sliders{};
  std::array<QLabel*, kPageDpiLevelCount> dpi_labels{};
  std::array<QAbstractButton*, kPageDpiLevelCount> dpi_options{};
  std::array<QAbstractButton*, kPageDpiLevelCount> dpi_colors{};
  QComboBox* light_effect = nullptr;
  QWidget* brightness_row = nullptr;
  QAbstractSlider* brightness = nullptr;
  QWidget* speed_row = nullptr;
  QAbstractSlider* speed = nullptr;
  QWidget* light_color_row = nullptr;
  QAbstractButton* light_color = nullptr;
  std::array<QAbstractButton*, kPagePollingRateCount> polling_rates{};
  QLabel* polling_rate_label = nullptr;
  QAbstractButton* mouse_attribute = nullptr;
  QAbstractSlider* sleep_timer = nullptr;
  QLabel* sleep_timer_label = nullptr;
  QCheckBox* move_mode = nullptr;
  QAbstractButton* apply = nullptr;
  QProgressBar* power_ring = nullptr;
  QLabel* power_label = nullptr;
  QLabel* low_power_label = nullptr;
  QLabel* sleep_label = nullptr;
  QWidget* apply_ring = nullptr;
  QLabel* unsent_label = nullptr;  // edits wait for a link that can take them

  PageSection& power() { return sections[2]; }
  PageSection& polling_rate() { return sections[5]; }
  PageSection& power_setting() { return sections[7]; }
};

// Finds every control by name; ends by hiding the power-setting section and
// its box, which nothing shows again. The sliders and the lighting combo then
// take the mouse wheel only while they have keyboard focus.
PageControls BindPageControls(const PageHost& host);

// Null-safe visibility.
void SetShown(QWidget* control, bool shown);

// The index of `control` in `array`, or -1.
template <class Array, class T>
int IndexIn(const Array& array, const T* control) {
  for (int i = 0; i < static_cast<int>(array.size()); ++i) {
    if (array[i] != nullptr && static_cast<const void*>(array[i]) == control) return i;
  }
  return -1;
}

}  // namespace ms1
