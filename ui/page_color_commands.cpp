#include "ui/page_color_commands.h"

#include <QAbstractButton>
#include <QScreen>
#include <algorithm>

#include "model/profile.h"
#include "model/stored_color.h"
#include "platform/bk_color.h"
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
  const std::optional<QRgb> chosen = Ask(button, *stored);
  if (!chosen) return;
  SetBkColor(button, *chosen);
  page_.model.With([&chosen](PageState& s) {
    if (ProfileRecord* p = s.Current()) {
      SetSharedSetting(*p, SharedSetting::kLightColor, StoredColorOfArgb(*chosen));
    }
  });
  page_.request_apply();
}

void PageColorCommands::ChooseDpiColor(QAbstractButton* button, int level) {
  for (int k = 0; k < kModeCount; ++k) {
    const std::optional<int32_t> stored = ReadCurrent(
        page_.model, [k, level](const ProfileRecord& p) { return ModeOf(p, k).dpi_color[level]; });
    if (!stored) return;
    const std::optional<QRgb> chosen = Ask(button, *stored);
    if (!chosen) continue;
    page_.model.With([&](PageState& s) {
      if (ProfileRecord* p = s.Current())
        ModeOf(*p, k).dpi_color[level] = StoredColorOfArgb(*chosen);
    });
    SetBkColor(button, *chosen);
    page_.request_apply();
  }
  // In the end the button shows what the page shows: the active mode record's colour.
  const std::optional<int32_t> shown = ReadCurrent(page_.model, [level](const ProfileRecord& p) {
    return ModeOf(p, ActiveModeIndex(p)).dpi_color[level];
  });
  if (shown) SetBkColor(button, ArgbOfStoredColor(*shown));
}

std::optional<QRgb> PageColorCommands::Ask(const QAbstractButton* button, int32_t stored) {
  CDpiColorWnd dialog(page_.owner);
  dialog.color = ArgbOfStoredColor(stored);
  dialog.position = ColorDialogPosition(button);
  dialog.Create();
  if (dialog.ShowModal() != 1) return std::nullopt;
  return dialog.color;
}

}  // namespace ms1
