// The colour buttons of the page in the real window: the lighting colour for
// all five mode records, a DPI colour for every mode at once or asked mode
// record by mode record, and a chosen colour reaching the mouse's settings
// report.
#include "ui/page_color_commands.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "device_page_fixture.h"
#include "model/stored_color.h"
#include "page_dialog_answers.h"
#include "platform/background_color.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

using test::ColorAnswer;

class ColorCommands : public test::DevicePageTest {
 protected:
  QRgb ButtonColor(const char* button) { return BackgroundColor(Control(button)); }
  static ColorAnswer Swatch(int n) {
    return [n](CDpiColorWnd& dialog) {
      QTest::mouseClick(dialog.FindControl(QStringLiteral("mouse_dpi_color_%1").arg(n)),
                        Qt::LeftButton);
      return true;
    };
  }
  static ColorAnswer Cancel() {
    return [](CDpiColorWnd&) { return false; };
  }
  // "The same colour in every mode" unticked first.
  static ColorAnswer PerMode(ColorAnswer then) {
    return [then](CDpiColorWnd& dialog) {
      dialog.FindControl<QCheckBox>(QStringLiteral("dpicolor_same_check"))->setChecked(false);
      return then(dialog);
    };
  }
  // What each dialog said about itself: its title, and whether it offered
  // one colour for every mode.
  // Also checks that each opens below its button, owned by the window.
  ColorAnswer Noting(std::vector<QString>& seen, ColorAnswer then) {
    return [this, &seen, then](CDpiColorWnd& dialog) {
      QWidget* button = Control("ms_1_btn_dpi_color_3");
      EXPECT_EQ(dialog.parentWidget(), window.get());
      EXPECT_EQ(dialog.pos(), ColorDialogPosition(button));
      EXPECT_EQ(dialog.pos().y(), button->mapToGlobal(QPoint(0, button->height())).y());
      const auto* box = dialog.FindControl<QCheckBox>(QStringLiteral("dpicolor_same_check"));
      seen.push_back(dialog.FindControl<QLabel>(QStringLiteral("dpicolor_title"))->text() +
                     (box->isVisibleTo(&dialog) ? " [same]" : ""));
      return then(dialog);
    };
  }
};

TEST_F(ColorCommands, OneDialogColoursTheLevelInEveryModeUnlessAskedPerMode) {
  const int32_t red = 0x000000FF, blue = 0x00FF0000, kept = -1;
  struct Case {
    const char* what;
    std::vector<ColorAnswer> answers;
    std::vector<int32_t> expected;  // per mode record; kept: as before
    std::size_t dialogs;
  };
  const std::vector<Case> cases = {
      {"the common case", {Swatch(11)}, {red, red, red, red, red}, 1},
      {"per mode",
       {PerMode(Swatch(11)), Swatch(5), Swatch(5), Swatch(5), Swatch(5)},
       {red, blue, blue, blue, blue},
       5},
      {"per mode, cancelled in the second",
       {PerMode(Swatch(11)), Cancel()},
       {red, kept, kept, kept, kept},
       2},
      {"cancelled at once", {Cancel()}, {kept, kept, kept, kept, kept}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start("");
    const ProfileRecord before = Current();
    std::vector<QString> seen;
    std::vector<ColorAnswer> answers;
    for (const ColorAnswer& a : c.answers) answers.push_back(Noting(seen, a));
    std::vector<QRgb> initial;
    test::AnswerColorDialogs(answers, initial);
    Click("ms_1_btn_dpi_color_3");
    ASSERT_EQ(seen.size(), c.dialogs);
    for (std::size_t k = 0; k < seen.size(); ++k) {
      EXPECT_EQ(
          seen[k],
          QStringLiteral("DPI level 3 colour, mode %1%2").arg(k + 1).arg(k == 0 ? " [same]" : ""));
      EXPECT_EQ(initial[k], ArgbOfStoredColor(before.modes[k].dpi_color[2])) << k;
    }
    for (int k = 0; k < 5; ++k) {
      const int32_t expected = c.expected[k] == kept ? before.modes[k].dpi_color[2] : c.expected[k];
      EXPECT_EQ(Current().modes[k].dpi_color[2], expected) << k;
      EXPECT_EQ(Current().modes[k].dpi_color[1], before.modes[k].dpi_color[1]) << "another level";
    }
    EXPECT_EQ(ButtonColor("ms_1_btn_dpi_color_3"),
              ArgbOfStoredColor(Current().modes[0].dpi_color[2]))
        << "the active mode record's";
    TearDown();  // the next case starts a program of its own
  }
}

TEST_F(ColorCommands, TheLightingColourGoesIntoAllFiveModeRecords) {
  Start("");
  std::vector<QRgb> initial;
  test::AnswerColorDialogs({[](CDpiColorWnd& dialog) {
                             dialog.FindControl<QLineEdit>(QStringLiteral("r_edit"))->setText("18");
                             dialog.FindControl<QLineEdit>(QStringLiteral("g_edit"))->setText("52");
                             dialog.FindControl<QLineEdit>(QStringLiteral("b_edit"))->setText("86");
                             return true;
                           }},
                           initial);
  Click("ms_1_btn_light_color");
  ASSERT_EQ(initial.size(), 1u);
  EXPECT_EQ(initial[0], 0xFF0000FFu) << "the default lighting colour, blue";
  for (const ModeRecord& mode : Current().modes) EXPECT_EQ(mode.light_color, 0x00563412);
  EXPECT_EQ(ButtonColor("ms_1_btn_light_color"), 0xFF123456u);

  // Cancelled: nothing changes.
  test::AnswerColorDialogs({Cancel()}, initial);
  Click("ms_1_btn_light_color");
  EXPECT_EQ(initial.size(), 2u);
  EXPECT_EQ(initial[1], 0xFF123456u);
  EXPECT_EQ(Current().modes[4].light_color, 0x00563412);
}

TEST_F(ColorCommands, AChosenDpiColourReachesTheMousesSettingsReport) {
  Start("wired");
  std::vector<QRgb> initial;
  test::AnswerColorDialogs({PerMode(Swatch(13)), Swatch(14), Swatch(13), Cancel()}, initial);
  Click("ms_1_btn_dpi_color_1");
  const auto color = [&](int k) {
    return sim->State()["modes"][k]["settings"]["levels"][0]["color"];
  };
  ASSERT_TRUE(test::WaitFor([&] { return color(1) == "#48B1FF"; }, 60000));
  EXPECT_EQ(color(0), "#1EB40A");
  EXPECT_TRUE(test::WaitFor([&] { return Stored().modes[2].dpi_color[0] == 0x000AB41E; }));
}

}  // namespace
}  // namespace ms1
