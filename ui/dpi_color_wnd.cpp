#include "ui/dpi_color_wnd.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "platform/background_color.h"
#include "platform/color_palette.h"

namespace ms1 {

const std::array<QRgb, kPresetColorCount> kPresetColors = {
    0xFF00FFFF, 0xFF6CFF00, 0xFF7F00FF, 0xFF007FFF, 0xFF0000FF, 0xFF7FFF00, 0xFFFF5400, 0xFFFF7F00,
    0xFFFFB400, 0xFFFFFF00, 0xFFFF0000, 0xFFFF00FF, 0xFF1EB40A, 0xFF48B1FF, 0xFFFF48B0, 0xFFFFFFFF};

namespace {

constexpr std::array<const char*, 3> kEditNames = {"r_edit", "g_edit", "b_edit"};
constexpr std::array<int, 3> kComponentShifts = {16, 8, 0};
constexpr int kMaxComponent = 255;

int ComponentOf(QRgb color, int component) {
  return static_cast<int>((color >> kComponentShifts[component]) & 0xFF);
}

QRgb WithComponent(QRgb color, int component, int value) {
  const int shift = kComponentShifts[component];
  const QRgb cleared = color & ~(QRgb{0xFF} << shift);
  return 0xFF000000u | cleared | (static_cast<QRgb>(value) << shift);
}

// Rewrites an edit without raising its "textchanged": the handler that
// corrects the text is not entered again by its own correction.
void SetEditQuietly(QLineEdit* edit, const QString& text) {
  if (edit == nullptr || edit->text() == text) return;
  const QSignalBlocker quiet(edit);
  edit->setText(text);
}

}  // namespace

int ColorComponentOfText(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i].isSpace()) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    // Past 255 the rest no longer matters; stopping keeps the value in range.
    value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), kMaxComponent + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, 0, kMaxComponent));
}

void CDpiColorWnd::InitWindow() {
  setGeometry(QRect(position, kSize));
  palette_ = FindControl<ColorPalette>(QStringLiteral("ColorPallet"));
  preview_ = FindControl(QStringLiteral("color_show_control"));
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    edits_[i] = FindControl<QLineEdit>(QString::fromLatin1(kEditNames[i]));
  }
  for (int n = 0; n < kPresetColorCount; ++n) {
    swatches_[n] = FindControl<QAbstractButton>(QStringLiteral("mouse_dpi_color_%1").arg(n + 1));
    SetBackgroundColor(swatches_[n], kPresetColors[n]);
  }
  if (auto* title_label = FindControl<QLabel>(QStringLiteral("dpicolor_title"))) {
    title_label->setText(title);
    title_label->setVisible(!title.isEmpty());
  }
  same_for_all_box_ = FindControl<QCheckBox>(QStringLiteral("dpicolor_same_check"));
  if (same_for_all_box_ != nullptr) same_for_all_box_->setVisible(offer_same_for_all);
  color |= 0xFF000000u;
  ShowColor(true);
}

void CDpiColorWnd::ShowColor(bool with_edits) {
  if (palette_ != nullptr) {
    const QSignalBlocker quiet(palette_);
    palette_->SetSelectColor(color);
  }
  SetBackgroundColor(preview_, color);
  if (!with_edits) return;
  for (int i = 0; i < static_cast<int>(edits_.size()); ++i) {
    SetEditQuietly(edits_[i], QString::number(ComponentOf(color, i)));
  }
}

void CDpiColorWnd::Notify(const Notification& n) {
  if (n.Is(notify::kClick)) {
    OnClick(n);
  } else if (n.Is(notify::kColorChanged)) {
    if (palette_ != nullptr && n.control == palette_) {
      color = palette_->SelectColor() | 0xFF000000u;
      ShowColor(true);
    }
  } else if (n.Is(notify::kTextChanged)) {
    const auto edited = std::find(edits_.begin(), edits_.end(), n.control);
    if (edited != edits_.end() && *edited != nullptr) {
      OnComponentEdited(static_cast<int>(edited - edits_.begin()));
    }
  }
}

void CDpiColorWnd::OnComponentEdited(int component) {
  QLineEdit* edit = edits_[component];
  const int value = ColorComponentOfText(edit->text());
  // An emptied field is left empty for the next number to be typed; it
  // counts as 0 meanwhile.
  if (!edit->text().isEmpty()) SetEditQuietly(edit, QString::number(value));
  color = WithComponent(color, component, value);
  ShowColor(false);
}

void CDpiColorWnd::OnClick(const Notification& n) {
  if (n.From(QStringLiteral("confirm_btn"))) {
    same_for_all =
        offer_same_for_all && same_for_all_box_ != nullptr && same_for_all_box_->isChecked();
    Close(1);
  } else if (n.From(QStringLiteral("cancel_btn"))) {
    Close(0);
  } else if (const auto swatch = std::find(swatches_.begin(), swatches_.end(), n.control);
             swatch != swatches_.end() && *swatch != nullptr) {
    color = kPresetColors[static_cast<std::size_t>(swatch - swatches_.begin())];
    ShowColor(true);
  }
}

}  // namespace ms1
