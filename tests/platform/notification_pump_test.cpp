// Notifications of a real skin form: what a user's click, selection, typing or
// slider move raises, and that "without notification" raises nothing.
#include "platform/notification_pump.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTest>
#include <functional>

#include "support/form_window.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

class RecordingWindow : public test::FormWindow {
 public:
  using FormWindow::FormWindow;

  std::vector<Notification> seen;
  QStringList clicks;

  // Only what handlers act on; focus and hover are checked separately.
  std::vector<Notification> Actions() const {
    std::vector<Notification> out;
    for (const auto& n : seen) {
      if (!n.Is(notify::kMouseEnter) && !n.Is(notify::kMouseLeave) && !n.Is(notify::kSetFocus) &&
          !n.Is(notify::kKillFocus)) {
        out.push_back(n);
      }
    }
    return out;
  }
  // The senders of the selection changes among them.
  QStringList Selected() const {
    QStringList senders;
    for (const auto& n : Actions()) {
      if (n.Is(notify::kSelectChanged)) senders << n.sender;
    }
    return senders;
  }

 protected:
  void Notify(const Notification& n) override {
    seen.push_back(n);
    FormWindow::Notify(n);
  }
  void OnClick(const Notification& n) override { clicks << n.sender; }
};

class MainFormNotifications : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.seen.clear();
  }
  template <class T>
  T* Control(const char* name) {
    T* control = window.FindControl<T>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  RecordingWindow window{QStringLiteral("main.xml")};
};

TEST_F(MainFormNotifications, ButtonClickReachesOnClick) {
  auto* button = Control<QPushButton>("ms_1_btn_key_3");
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_EQ(window.Actions().size(), 1u);
  EXPECT_TRUE(window.Actions()[0].Is(notify::kClick));
  EXPECT_EQ(window.clicks, QStringList{QStringLiteral("ms_1_btn_key_3")});
}

TEST_F(MainFormNotifications, OptionsRaiseSelectChangedOnlyForTheNewlySelectedOne) {
  auto* mode1 = Control<QPushButton>("ms_1_option_button_mode_1");
  auto* mode2 = Control<QPushButton>("ms_1_option_button_mode_2");
  ASSERT_TRUE(mode1->isChecked());
  QTest::mouseClick(mode2, Qt::LeftButton);
  EXPECT_TRUE(mode2->isChecked());
  EXPECT_FALSE(mode1->isChecked());
  EXPECT_EQ(window.Selected(), QStringList{QStringLiteral("ms_1_option_button_mode_2")});

  // Clicking the selected option again selects nothing new.
  window.seen.clear();
  QTest::mouseClick(mode2, Qt::LeftButton);
  EXPECT_EQ(window.Selected(), QStringList{});

  auto* step = Control<QRadioButton>("ms_1_option_dpi_step_4");
  window.seen.clear();
  QTest::mouseClick(step, Qt::LeftButton, {}, QPoint(8, step->height() / 2));
  EXPECT_EQ(window.Selected(), QStringList{QStringLiteral("ms_1_option_dpi_step_4")});
}

TEST_F(MainFormNotifications, CheckBoxRaisesCheckClickWithItsNewState) {
  auto* box = Control<QCheckBox>("ms_1_check_movemode");
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  ASSERT_EQ(window.Actions().size(), 1u);
  EXPECT_TRUE(window.Actions()[0].Is(notify::kCheckClick));
  EXPECT_EQ(window.Actions()[0].param, box->isChecked() ? 1 : 0);
  EXPECT_TRUE(window.clicks.isEmpty());
}

TEST_F(MainFormNotifications, ComboListAndSliderReportIndexAndValue) {
  auto* combo = Control<QComboBox>("ms_1_combo_light");
  combo->setCurrentIndex(3);
  auto* list = Control<QListWidget>("ms_1_list_profile");
  list->addItems({QStringLiteral("A"), QStringLiteral("B")});
  list->setCurrentRow(1);
  auto* slider = Control<QSlider>("ms_1_slider_dpi_2");
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Right);

  const auto actions = window.Actions();
  ASSERT_GE(actions.size(), 3u);
  EXPECT_TRUE(actions[0].Is(notify::kItemSelect));
  EXPECT_EQ(actions[0].param, 3);
  EXPECT_TRUE(actions.back().Is(notify::kValueChanged));
  EXPECT_EQ(actions.back().sender, QStringLiteral("ms_1_slider_dpi_2"));
  EXPECT_EQ(actions.back().param, slider->value());
  bool listSeen = false;
  for (const auto& n : actions)
    listSeen |= n.From(QStringLiteral("ms_1_list_profile")) && n.param == 1;
  EXPECT_TRUE(listSeen);
}

TEST_F(MainFormNotifications, SelectingWithoutNotificationRaisesNothing) {
  {
    const QSignalBlocker a(Control<QComboBox>("ms_1_combo_light"));
    const QSignalBlocker b(Control<QPushButton>("ms_1_option_button_mode_2"));
    const QSignalBlocker c(Control<QSlider>("ms_1_slider_brightness"));
    const QSignalBlocker d(Control<QRadioButton>("ms_1_option_dpi_step_7"));
    Control<QComboBox>("ms_1_combo_light")->setCurrentIndex(5);
    Control<QPushButton>("ms_1_option_button_mode_2")->setChecked(true);
    Control<QSlider>("ms_1_slider_brightness")->setValue(7);
    Control<QRadioButton>("ms_1_option_dpi_step_7")->setChecked(true);
  }
  EXPECT_TRUE(window.Actions().empty());
  EXPECT_EQ(Control<QComboBox>("ms_1_combo_light")->currentIndex(), 5);
}

TEST_F(MainFormNotifications, ControlTimersRaiseTimerWithTheirIdUntilKilled) {
  auto* ring = window.FindControl(QStringLiteral("ms_1_progress_power"));
  ASSERT_NE(ring, nullptr);
  window.pump()->SetTimer(ring, 53, 1);
  ASSERT_TRUE(test::WaitFor([&] { return window.Actions().size() >= 3; }));
  window.pump()->KillTimer(ring, 53);
  EXPECT_FALSE(window.pump()->IsTimerActive(ring, 53));
  for (const auto& n : window.Actions()) {
    EXPECT_TRUE(n.Is(notify::kTimer));
    EXPECT_EQ(n.sender, QStringLiteral("ms_1_progress_power"));
    EXPECT_EQ(n.param, 53);
  }
}

TEST_F(MainFormNotifications, AnAnimationTimerRestsWhileItsControlCannotBeSeen) {
  auto* ring = window.FindControl(QStringLiteral("ms_1_progress_power"));
  auto* section = window.FindControl(QStringLiteral("ms_1_ver_power"));
  ASSERT_NE(ring, nullptr);
  ASSERT_NE(section, nullptr);
  NotificationPump& pump = *window.pump();
  pump.SetAnimationTimer(ring, 53, 30);
  const struct {
    const char* step;
    std::function<void()> act;
    bool running;
  } steps[] = {
      {"shown", [] {}, true},
      {"section closed", [&] { section->hide(); }, false},
      {"section opened", [&] { section->show(); }, true},
      {"window minimised", [&] { window.showMinimized(); }, false},
      {"window restored", [&] { window.showNormal(); }, true},
      {"window hidden", [&] { window.hide(); }, false},
      {"window shown", [&] { window.show(); }, true},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(pump.IsTimerRunning(ring, 53), s.running) << s.step;
    EXPECT_TRUE(pump.IsTimerActive(ring, 53)) << s.step;
  }

  // Killed while at rest: showing the control again does not bring it back.
  window.hide();
  pump.KillTimer(ring, 53);
  window.show();
  EXPECT_FALSE(pump.IsTimerActive(ring, 53));
  EXPECT_FALSE(pump.IsTimerRunning(ring, 53));

  // Set while unseen: it starts at rest and runs once shown.
  window.hide();
  pump.SetAnimationTimer(ring, 53, 30);
  EXPECT_FALSE(pump.IsTimerRunning(ring, 53));
  window.show();
  EXPECT_TRUE(pump.IsTimerRunning(ring, 53));
  // A plain control timer runs whatever is seen.
  pump.SetTimer(ring, 53, 30);
  window.hide();
  EXPECT_TRUE(pump.IsTimerRunning(ring, 53));
  pump.KillTimer(ring, 53);
}

TEST(DialogFormNotifications, TypingRaisesTextChangedAndFocusRaisesSetAndKillFocus) {
  RecordingWindow window(QStringLiteral("MS/MS_1/profilename.xml"));
  ASSERT_TRUE(window.Create());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  auto* edit = window.FindControl<QLineEdit>(QStringLiteral("edit_name"));
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  ASSERT_TRUE(test::WaitFor([&] { return edit->hasFocus(); }));
  QTest::keyClicks(edit, QStringLiteral("ab"));
  window.FindControl(QStringLiteral("btn_ok"))->setFocus();
  int typed = 0;
  bool gotFocus = false;
  bool lostFocus = false;
  for (const auto& n : window.seen) {
    if (!n.From(QStringLiteral("edit_name"))) continue;
    typed += n.Is(notify::kTextChanged);
    gotFocus |= n.Is(notify::kSetFocus);
    lostFocus |= n.Is(notify::kKillFocus);
  }
  EXPECT_EQ(typed, 2);
  EXPECT_TRUE(gotFocus);
  EXPECT_TRUE(lostFocus);
}

}  // namespace
}  // namespace ms1
