// The colour dialog of the DPI and lighting colours: a palette, 16 preset
// swatches and the red, green and blue values, all showing one colour.
// Result 1 with the chosen colour, 0 when cancelled.
#pragma once

#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QString>
#include <array>

#include "platform/skin_form.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace ms1 {

class ColorPalette;

inline constexpr int kPresetColorCount = 16;
// The swatches "mouse_dpi_color_1" .. "mouse_dpi_color_16", in that order.
extern const std::array<QRgb, kPresetColorCount> kPresetColors;

class CDpiColorWnd : public SkinDialog {
 public:
  static constexpr QSize kSize{250, 250};

  explicit CDpiColorWnd(QWidget* owner = nullptr) : SkinDialog(owner) {}

  // Inputs, set before Create(): the colour shown first (alpha-red-green-blue),
  // the screen point of the window's top-left corner, the line that says
  // what the colour is for, and whether to offer one colour for every mode.
  QRgb color = 0xFF000000;
  QPoint position;
  QString title;
  bool offer_same_for_all = false;
  // Outputs: `color`, always opaque, and whether the colour is for every
  // mode (when offered: the box, ticked at first).
  bool same_for_all = false;

  QString WindowClassName() const override { return QStringLiteral("DpiColorWnd"); }
  QString SkinFileName() const override { return QStringLiteral("DpiColorDialog.xml"); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& n) override;
  void OnClick(const Notification& n) override;

 private:
  // The palette's selection, the preview and, when asked, the three edits
  // follow `color`.
  void ShowColor(bool with_edits);
  void OnComponentEdited(int component);

  ColorPalette* palette_ = nullptr;
  QCheckBox* same_for_all_box_ = nullptr;
  QWidget* preview_ = nullptr;
  std::array<QLineEdit*, 3> edits_{};  // red, green, blue
  std::array<QAbstractButton*, kPresetColorCount> swatches_{};
};

// An edit's text read as a colour component: its leading decimal number
// (optionally signed; none counts as 0) held to 0..255.
int ColorComponentOfText(const QString& text);

}  // namespace ms1
