// The colour buttons of the page in the real window: the lighting colour for
// all five mode records, a DPI colour asked mode record by mode record, and a
// chosen colour reaching the mouse's settings report.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>

#include "device_page_fixture.h"
#include "model/stored_color.h"
#include "page_dialog_answers.h"
#include "platform/bk_color.h"
#include "support/qt_wait.h"
#include "ui/page_color_commands.h"

namespace ms1 {
namespace {

using test::ColorAnswer;

class ColorCommands : public test::DevicePageTest {
 protected:
  void Click(const char* button) { QTest::mouseClick(Control(button), Qt::LeftButton); }
  QRgb ButtonColor(const char* button) { return BkColor(Control(button)); }
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
};

TEST_F(ColorCommands, ADpiColourIsAskedForEachModeRecordAndACancelSkipsOnlyThatOne) {
  Start("");
  const ProfileRecord before = Current();
  std::vector<QRgb> initial;
  QPoint opened_at;
  QWidget* owner = nullptr;
  test::AnswerColorDialogs({[&](CDpiColorWnd& dialog) {
                              opened_at = dialog.pos();
                              owner = dialog.parentWidget();
                              return Swatch(11)(dialog);  // red
                            },
                            Cancel(), Swatch(5), Swatch(5), Swatch(5)},
                           initial);
  Click("ms_1_btn_dpi_color_3");
  ASSERT_EQ(initial.size(), 5u);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(initial[k], ArgbOfStoredColor(before.modes[k].dpi_color[2])) << k;
  }
  EXPECT_EQ(owner, window.get());
  QWidget* button = Control("ms_1_btn_dpi_color_3");
  EXPECT_EQ(opened_at, ColorDialogPosition(button));
  EXPECT_EQ(opened_at.y(), button->mapToGlobal(QPoint(0, button->height())).y());

  const int32_t red = 0x000000FF, blue = 0x00FF0000;
  const int32_t expected[] = {red, before.modes[1].dpi_color[2], blue, blue, blue};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(Current().modes[k].dpi_color[2], expected[k]) << k;
    EXPECT_EQ(Current().modes[k].dpi_color[1], before.modes[k].dpi_color[1]) << "another level";
  }
  EXPECT_EQ(ButtonColor("ms_1_btn_dpi_color_3"), 0xFFFF0000u) << "the active mode record's";
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
  test::AnswerColorDialogs({Swatch(13), Swatch(14), Swatch(13), Cancel(), Cancel()}, initial);
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
