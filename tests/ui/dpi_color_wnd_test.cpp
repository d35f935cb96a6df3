#include "ui/dpi_color_wnd.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "platform/background_color.h"
#include "platform/color_palette.h"
#include "platform/skin.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

class ColorDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.color = 0xFF123456;
    dialog.position = QPoint(40, 30);
    ASSERT_TRUE(dialog.Create());
  }
  QLineEdit* Edit(const char* name) {
    return dialog.FindControl<QLineEdit>(QString::fromLatin1(name));
  }
  QString Edits() {
    return Edit("r_edit")->text() + u',' + Edit("g_edit")->text() + u',' + Edit("b_edit")->text();
  }
  ColorPalette* Palette() {
    return dialog.FindControl<ColorPalette>(QStringLiteral("ColorPallet"));
  }
  // Palette and preview show the dialog's colour.
  void ExpectShown(QRgb argb) {
    EXPECT_EQ(dialog.color, argb);
    EXPECT_EQ(Palette()->SelectColor(), argb);
    EXPECT_EQ(BackgroundColor(dialog.FindControl(QStringLiteral("color_show_control"))), argb);
  }

  CDpiColorWnd dialog;
};

TEST_F(ColorDialog, OpensAtItsPlaceShowingItsColourInEveryControl) {
  EXPECT_EQ(dialog.WindowClassName(), QStringLiteral("DpiColorWnd"));
  EXPECT_EQ(dialog.geometry(), QRect(QPoint(40, 30), CDpiColorWnd::kSize));
  EXPECT_EQ(Edits(), QStringLiteral("18,52,86"));
  ExpectShown(0xFF123456);
}

TEST_F(ColorDialog, TypedValuesAreHeldTo0To255AndCorrectedWithoutAnotherRound) {
  const struct {
    const char* edit;
    const char* typed;
    const char* shown;  // the edits afterwards, red, green, blue
    QRgb color;
  } cases[] = {
      {"g_edit", "300", "18,255,86", 0xFF12FF56},
      {"b_edit", "-5", "18,255,0", 0xFF12FF00},
      {"r_edit", "abc", "0,255,0", 0xFF00FF00},
      {"r_edit", "7x", "7,255,0", 0xFF07FF00},
      {"b_edit", "0255", "7,255,255", 0xFF07FFFF},
      {"g_edit", "", ",7,255", 0},
      {"g_edit", "99999999999999999999", "7,255,255", 0xFF07FFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.edit) + " <- " + c.typed);
    QLineEdit* edit = Edit(c.edit);
    QSignalSpy changes(edit, &QLineEdit::textChanged);
    edit->setText(QString::fromLatin1(c.typed));
    EXPECT_EQ(changes.count(), 1) << "the correction raises no change of its own";
    if (c.color == 0) {  // an emptied field waits for the next number: 0 meanwhile
      EXPECT_EQ(edit->text(), QString());
      EXPECT_EQ(qGreen(dialog.color), 0);
      continue;
    }
    EXPECT_EQ(Edits(), QString::fromLatin1(c.shown));
    ExpectShown(c.color);
  }
}

TEST_F(ColorDialog, SwatchesAndThePaletteSetTheColour) {
  for (int n = 1; n <= kPresetColorCount; ++n) {
    auto* swatch = dialog.FindControl<QAbstractButton>(QStringLiteral("mouse_dpi_color_%1").arg(n));
    ASSERT_NE(swatch, nullptr) << n;
    EXPECT_EQ(BackgroundColor(swatch), kPresetColors[n - 1]) << n;
    QTest::mouseClick(swatch, Qt::LeftButton);
    ExpectShown(kPresetColors[n - 1]);
    const QRgb c = kPresetColors[n - 1];
    EXPECT_EQ(Edits(), QStringLiteral("%1,%2,%3").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c))) << n;
  }
  EXPECT_EQ(kPresetColors[0], 0xFF00FFFFu);
  EXPECT_EQ(kPresetColors[6], 0xFFFF5400u);
  EXPECT_EQ(kPresetColors[12], 0xFF1EB40Au);

  // Bottom left of the field is black, whatever the hue.
  ColorPalette* palette = Palette();
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(0, palette->height() - 21));
  ExpectShown(0xFF000000);
  EXPECT_EQ(Edits(), QStringLiteral("0,0,0"));
}

TEST_F(ColorDialog, ConfirmGivesOneCancelZero) {
  for (const auto& [button, result] : {std::pair{"confirm_btn", 1}, std::pair{"cancel_btn", 0}}) {
    QTimer::singleShot(0, &dialog, [this, button = button] {
      QTest::mouseClick(dialog.FindControl(QString::fromLatin1(button)), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.ShowModal(), result) << button;
  }
}

TEST_F(ColorDialog, SavesAScreenshotOnTheSkinStyle) {
  ApplySkinStyle();
  dialog.show();
  QTest::mouseClick(dialog.FindControl(QStringLiteral("mouse_dpi_color_14")), Qt::LeftButton);
  const QImage shot = dialog.grab().toImage();
  ASSERT_EQ(shot.size(), CDpiColorWnd::kSize);
  EXPECT_TRUE(
      shot.save(QString::fromStdString(test::paths::ArtifactFolder() + "dpi_color_dialog.png")));
  QWidget* preview = dialog.FindControl(QStringLiteral("color_show_control"));
  EXPECT_EQ(shot.pixel(preview->mapTo(&dialog, preview->rect().center())), 0xFF48B1FFu);
}

}  // namespace
}  // namespace ms1
