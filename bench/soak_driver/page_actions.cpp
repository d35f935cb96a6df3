// What a user does on the page: every edit goes through a control by its
// name, and only while that control is shown.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>

#include "bench/soak_driver/soak_action.h"
#include "model/protocol/polling_rate.h"
#include "model/records.h"
#include "support/qt_wait.h"

namespace ms1::soak {
namespace {

constexpr int kModeOptions = 2;
constexpr int kFewestProfiles = 2;
constexpr int kMostProfiles = 8;
constexpr int kMenuTimeoutMs = 5000;

QString Numbered(const char* prefix, int n) {
  return QString::fromLatin1(prefix) + QString::number(n);
}

bool ClickNamed(SoakContext& c, const QString& name) {
  auto* button = c.page.Usable<QAbstractButton>(name);
  if (button == nullptr) return false;
  PageAccess::Click(button);
  return true;
}

// One of "<prefix>1" .. "<prefix>count".
bool ClickOneOf(SoakContext& c, const char* prefix, int count) {
  return ClickNamed(c, Numbered(prefix, 1 + c.Draw(count)));
}

bool MoveSlider(SoakContext& c, const QString& name) {
  auto* slider = c.page.Usable<QAbstractSlider>(name);
  if (slider == nullptr) return false;
  slider->setValue(slider->minimum() + c.Draw(slider->maximum() - slider->minimum() + 1));
  return true;
}

bool ChooseLightEffect(SoakContext& c) {
  auto* combo = c.page.Usable<QComboBox>(QStringLiteral("ms_1_combo_light"));
  if (combo == nullptr || combo->count() == 0) return false;
  combo->setCurrentIndex(c.Draw(combo->count()));
  return true;
}

void CloseMenus() {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

// A key button's menu, opened by a click, and one of its functions chosen.
bool AssignButtonFunction(SoakContext& c) {
  if (!ClickOneOf(c, "ms_1_btn_key_", kButtonCount)) return false;
  QMenu* menu = nullptr;
  test::WaitFor(
      [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
      kMenuTimeoutMs);
  if (menu == nullptr) {
    c.Note("key button opened no menu");
    return false;
  }
  std::vector<QAction*> functions;
  for (QAction* action : menu->findChildren<QAction*>()) {
    if (action->menu() == nullptr && action->isEnabled() &&
        action->objectName().startsWith(QStringLiteral("ms_1_"))) {
      functions.push_back(action);
    }
  }
  if (functions.empty()) {
    CloseMenus();
    return false;
  }
  QAction* chosen = functions[static_cast<std::size_t>(c.Draw(static_cast<int>(functions.size())))];
  CloseMenus();
  chosen->trigger();
  return true;
}

int ProfileCount(SoakContext& c) {
  auto* list = c.page.Control<QListWidget>(QStringLiteral("ms_1_list_profile"));
  return list == nullptr ? 0 : list->count();
}

bool SwitchProfile(SoakContext& c) {
  auto* list = c.page.Usable<QListWidget>(QStringLiteral("ms_1_list_profile"));
  if (list == nullptr || list->count() < 2) return false;
  list->setCurrentRow(c.Draw(list->count()));
  return true;
}

bool AddProfile(SoakContext& c) {
  return ProfileCount(c) < kMostProfiles && ClickNamed(c, QStringLiteral("ms_1_profile_add_btn"));
}

bool DeleteProfile(SoakContext& c) {
  return ProfileCount(c) > kFewestProfiles &&
         ClickNamed(c, QStringLiteral("ms_1_profile_delete_btn"));
}

// The section boxes open and close the panels; closed panels hide their controls.
bool ToggleSection(SoakContext& c) {
  static const char* const kBoxes[] = {"ms_1_check_dpi", "ms_1_check_light", "ms_1_check_prate",
                                       "ms_1_check_mouse_attribute", "ms_1_check_button"};
  return ClickNamed(c, QString::fromLatin1(kBoxes[c.Draw(static_cast<int>(std::size(kBoxes)))]));
}

}  // namespace

std::vector<SoakAction> PageActions() {
  return {
      {"DPI value", 6,
       [](SoakContext& c) { return MoveSlider(c, Numbered("ms_1_slider_dpi_", 1 + c.Draw(kDpiLevelCount))); }},
      {"DPI level", 4, [](SoakContext& c) { return ClickOneOf(c, "ms_1_option_dpi_step_", kDpiLevelCount); }},
      {"DPI colour", 2, [](SoakContext& c) { return ClickOneOf(c, "ms_1_btn_dpi_color_", kDpiLevelCount); }},
      {"lighting effect", 3, ChooseLightEffect},
      {"brightness", 2,
       [](SoakContext& c) { return MoveSlider(c, QStringLiteral("ms_1_slider_brightness")); }},
      {"lighting speed", 2,
       [](SoakContext& c) { return MoveSlider(c, QStringLiteral("ms_1_slider_breathspeed")); }},
      {"polling rate", 3, [](SoakContext& c) { return ClickOneOf(c, "ms_1_btn_prate_", kPollingRateCount); }},
      {"sleep timer", 3,
       [](SoakContext& c) { return MoveSlider(c, QStringLiteral("ms_1_slider_sleep_timer")); }},
      {"section box", 1, ToggleSection},
      {"button function", 4, AssignButtonFunction},
      {"mode", 3, [](SoakContext& c) { return ClickOneOf(c, "ms_1_option_button_mode_", kModeOptions); }},
      {"profile switch", 4, SwitchProfile},
      {"profile add", 1, AddProfile},
      {"profile delete", 1, DeleteProfile},
      {"profile rename", 1,
       [](SoakContext& c) { return ClickNamed(c, QStringLiteral("ms_1_profile_rename_btn")); }},
      {"profile reset", 1,
       [](SoakContext& c) { return ClickNamed(c, QStringLiteral("ms_1_profile_reset_btn")); }},
      {"apply", 1, [](SoakContext& c) { return ClickNamed(c, QStringLiteral("ms_1_apply_btn")); }},
  };
}

}  // namespace ms1::soak
