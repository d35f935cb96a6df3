#include "ui/page_color_commands.h"

#include <QAbstractButton>
#include <QScreen>
#include <algorithm>

#include "model/profile.h"
#include "model/stored_color.h"
#include "platform/background_color.h"
#include "platform/language.h"
#include "ui/dpi_color_wnd.h"
#include "ui/page_controls.h"

namespace ms1 {
namespace {

constexpr int kDialogLeftOfButton = 200;

// A colour of the current profile, or nothing when there is none.
template <class Read>
std::optional<int32_t> ReadCurrent(const PageModel& model, Read read) {
  return model.With([&read](const PageState& s) -> std::optional<int32_t> {
    const ProfileRecord* p = s.Current();
    if (p == nullptr) return std::nullopt;
    return read(*p);
  });
}

}  // namespace

QPoint ColorDialogPosition(const QWidget* button) {
  QPoint corner = button->mapToGlobal(QPoint(-kDialogLeftOfButton, button->height()));
  if (const QScreen* screen = button->screen()) {
    const QRect area = screen->availableGeometry();
    const QSize size = CDpiColorWnd::kSize;
    corner.setX(std::clamp(corner.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    corner.setY(std::clamp(corner.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
  }
  return corner;
}

bool PageColorCommands::OnClick(const PageControls& c, const QWidget* control) {
  if (c.light_color != nullptr && control == c.light_color) {
    ChooseLightColor(c.light_color);
    return true;
  }
  if (const int level = IndexIn(c.dpi_colors, control); level >= 0) {
    ChooseDpiColor(c.dpi_colors[level], level);
    return true;
  }
  return false;
}

void PageColorCommands::ChooseLightColor(QAbstractButton* button) {
  const std::optional<int32_t> stored =
      ReadCurrent(page_.model, [](const ProfileRecord& p) { return ModeOf(p, 0).light_color; });
  if (!stored) return;
  const std::optional<QRgb> chosen =
      Ask(button, *stored, Lan().Text(QStringLiteral("light_color_title_text")));
  if (!chosen) return;
  SetBackgroundColor(button, *chosen);
  page_.model.With([&chosen](PageState& s) {
    if (ProfileRecord* p = s.Current()) {
      SetSharedSetting(*p, SharedSetting::kLightColor, StoredColorOfArgb(*chosen));
    }
  });
  page_.request_apply();
}

// One dialog sets the level's colour in every mode record; unticking "the
// same colour in every mode" leads through one dialog per mode, each naming
// it. Cancel ends the round; what was chosen before stays.
void PageColorCommands::ChooseDpiColor(QAbstractButton* button, int level) {
  const QString level_text = QString::number(level + 1);
  for (int k = 0; k < kModeCount; ++k) {
    const std::optional<int32_t> stored = ReadCurrent(
        page_.model, [k, level](const ProfileRecord& p) { return ModeOf(p, k).dpi_color[level]; });
    if (!stored) return;
    const QString title =
        Lan().Text(QStringLiteral("dpi_color_title_text")).arg(level_text, QString::number(k + 1));
    bool same_for_all = false;
    const std::optional<QRgb> chosen = Ask(button, *stored, title, k == 0, &same_for_all);
    if (!chosen) break;
    const int32_t value = StoredColorOfArgb(*chosen);
    page_.model.With([&](PageState& s) {
      ProfileRecord* p = s.Current();
      if (p == nullptr) return;
      for (int m = same_for_all ? 0 : k; m <= (same_for_all ? kModeCount - 1 : k); ++m) {
        ModeOf(*p, m).dpi_color[level] = value;
      }
    });
    page_.request_apply();
    if (same_for_all) break;
  }
  // The button shows what the page shows: the active mode record's colour.
  const std::optional<int32_t> shown = ReadCurrent(page_.model, [level](const ProfileRecord& p) {
    return ModeOf(p, ActiveModeIndex(p)).dpi_color[level];
  });
  if (shown) SetBackgroundColor(button, ArgbOfStoredColor(*shown));
}

std::optional<QRgb> PageColorCommands::Ask(const QAbstractButton* button, int32_t stored,
                                           const QString& title, bool offer_same_for_all,
                                           bool* same_for_all) {
  CDpiColorWnd dialog(page_.owner);
  dialog.color = ArgbOfStoredColor(stored);
  dialog.position = ColorDialogPosition(button);
  dialog.title = title;
  dialog.offer_same_for_all = offer_same_for_all;
  dialog.Create();
  if (dialog.ShowModal() != 1) return std::nullopt;
  if (same_for_all != nullptr) *same_for_all = dialog.same_for_all;
  return dialog.color;
}

}  // namespace ms1
