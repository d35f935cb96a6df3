#include "ui/page_controls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>

#include "platform/wheel_needs_focus.h"
#include "ui/device_page.h"

namespace ms1 {
namespace {

class Finder {
 public:
  explicit Finder(const PageHost& host) : host_(host) {}
  template <class T>
  T* One(const char* name) const {
    return qobject_cast<T*>(host_.FindControl(QString::fromLatin1(name)));
  }
  // "<prefix>1" .. "<prefix>N" into an array.
  template <class T, std::size_t N>
  void Numbered(const char* prefix, std::array<T*, N>& out) const {
    for (std::size_t i = 0; i < N; ++i) {
      out[i] = qobject_cast<T*>(
          host_.FindControl(QString::fromLatin1(prefix) + QString::number(i + 1)));
    }
  }
  PageSection Section(const char* check, const char* container) const {
    return {One<QCheckBox>(check), One<QWidget>(container)};
  }

 private:
  const PageHost& host_;
};

}  // namespace

void SetShown(QWidget* control, bool shown) {
  if (control != nullptr) control->setVisible(shown);
}

PageControls BindPageControls(const PageHost& host) {
  const Finder find(host);
  PageControls c;
  find.Numbered("ms_1_btn_key_", c.key_buttons);
  find.Numbered("ms_1_key_control_", c.key_controls);
  find.Numbered("ms_1_option_button_mode_", c.mode_options);
  c.macro_button = find.One<QAbstractButton>("ms_1_btn_macro");
  c.profile_list = find.One<QListWidget>("ms_1_list_profile");
  c.profile_add = find.One<QAbstractButton>("ms_1_profile_add_btn");
  c.profile_delete = find.One<QAbstractButton>("ms_1_profile_delete_btn");
  c.profile_rename = find.One<QAbstractButton>("ms_1_profile_rename_btn");
  c.profile_import = find.One<QAbstractButton>("ms_1_profile_import_btn");
  c.profile_export = find.One<QAbstractButton>("ms_1_profile_export_btn");
  c.profile_reset = find.One<QAbstractButton>("ms_1_profile_reset_btn");
  c.wired_icon = find.One<QWidget>("ms_1_wired");
  c.receiver_icon = find.One<QWidget>("ms_1_wireless");
  c.bluetooth_icon = find.One<QWidget>("ms_1_BLE");
  c.sections = {find.Section("ms_1_check_button", "ms_1_hor_button"),
                find.Section("ms_1_check_profile", "ms_1_ver_profile"),
                find.Section("ms_1_check_power", "ms_1_ver_power"),
                find.Section("ms_1_check_dpi", "ms_1_hor_dpi"),
                find.Section("ms_1_check_light", "ms_1_ver_light"),
                find.Section("ms_1_check_prate", "ms_1_ver_prate"),
                find.Section("ms_1_check_mouse_attribute", "ms_1_ver_mouse_attribute"),
                find.Section("ms_1_check_power_setting", "ms_1_ver_power_setting")};
  find.Numbered("ms_1_slider_dpi_", c.dpi_sliders);
  find.Numbered("ms_1_label_dpi_", c.dpi_labels);
  find.Numbered("ms_1_option_dpi_step_", c.dpi_options);
  find.Numbered("ms_1_btn_dpi_color_", c.dpi_colors);
  c.light_effect = find.One<QComboBox>("ms_1_combo_light");
  c.brightness_row = find.One<QWidget>("ms_1_hor_brightness");
  c.brightness = find.One<QAbstractSlider>("ms_1_slider_brightness");
  c.speed_row = find.One<QWidget>("ms_1_hor_breathspeed");
  c.speed = find.One<QAbstractSlider>("ms_1_slider_breathspeed");
  c.light_color_row = find.One<QWidget>("ms_1_hor_light_color");
  c.light_color = find.One<QAbstractButton>("ms_1_btn_light_color");
  find.Numbered("ms_1_btn_prate_", c.polling_rates);
  c.polling_rate_label = find.One<QLabel>("ms_1_label_prate");
  c.mouse_attribute = find.One<QAbstractButton>("ms_1_btn_mouse_attribute");
  c.sleep_timer = find.One<QAbstractSlider>("ms_1_slider_sleep_timer");
  c.sleep_timer_label = find.One<QLabel>("ms_1_label_sleep_timer");
  c.move_mode = find.One<QCheckBox>("ms_1_check_movemode");
  c.apply = find.One<QAbstractButton>("ms_1_apply_btn");
  c.power_ring = find.One<QProgressBar>("ms_1_progress_power");
  c.power_label = find.One<QLabel>("ms_1_label_power");
  c.low_power_label = find.One<QLabel>("ms_1_low_power_label");
  c.sleep_label = find.One<QLabel>("ms_1_sleep_label");
  c.apply_ring = find.One<QWidget>("apply_ring");
  c.unsent_label = find.One<QLabel>("ms_1_unsent_label");

  SetShown(c.power_setting().check, false);
  SetShown(c.power_setting().container, false);
  // Scrolling the settings column must not change (and send) what it passes.
  for (QAbstractSlider* slider : c.dpi_sliders) RequireFocusForWheel(slider);
  for (QAbstractSlider* slider : {c.brightness, c.speed, c.sleep_timer}) {
    RequireFocusForWheel(slider);
  }
  RequireFocusForWheel(c.light_effect);
  return c;
}

}  // namespace ms1
