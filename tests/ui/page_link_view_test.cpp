// What the links and the mouse's events show on the page, the charging sweep,
// and the window with the mouse over Bluetooth LE alone: the virtual mouse
// behind the fake BlueZ on a private bus, real pauses.
#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QSystemTrayIcon>
#include <optional>

#include "device/messages.h"
#include "device_page_fixture.h"
#include "platform/notification_pump.h"
#include "support/event_counter.h"
#include "support/fake_bluez.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

using test::DevicePageTest;

TEST_F(DevicePageTest, TheMouseButtonsAndLinksReachThePage) {
  Start("wired");
  ASSERT_TRUE(Steer("press dpi 3"));
  ASSERT_TRUE(test::WaitFor([&] { return window->DpiIndicator() != nullptr; }));
  EXPECT_TRUE(Control<QAbstractButton>("ms_1_option_dpi_step_3")->isChecked());
  for (const ModeRecord& m : Current().modes) EXPECT_EQ(m.dpi_level, 2);

  ASSERT_TRUE(Steer("plug receiver"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().receiverState == 1; }));
  // The arrival sends the profile loaded at start; the heartbeat runs again
  // once that apply has ended.
  EXPECT_TRUE(
      test::WaitFor([&] { return window->Messages().IsTimerActive(timer::kReceiverHeartbeat); }));

  ASSERT_TRUE(Steer("unplug wired"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().wiredState == 2; }));
  EXPECT_TRUE(page->DevicePresent()) << "the receiver is still plugged";
  ASSERT_TRUE(Steer("battery 7"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().receiverAwake == 1; }));
  EXPECT_EQ(Control<QLabel>("ms_1_label_power")->text(), QStringLiteral("70%"));
  EXPECT_EQ(Control<QProgressBar>("ms_1_progress_power")->value(), 70);

  ASSERT_TRUE(Steer("unplug receiver"));
  ASSERT_TRUE(test::WaitFor([&] { return !page->DevicePresent(); }));
  EXPECT_TRUE(test::WaitFor([&] { return window->isMinimized(); }));
}

TEST_F(DevicePageTest, TheChargingSweepShowsNoPercentageAndLeavesNoneBehind) {
  Start("wired");
  auto* ring = Control<QProgressBar>("ms_1_progress_power");
  auto* label = Control<QLabel>("ms_1_label_power");
  ASSERT_TRUE(test::WaitFor([&] { return ring->value() > 0; }));
  EXPECT_FALSE(ring->isTextVisible()) << "no level is known while charging";

  // Cable out: an empty label, and the ring keeps no stale number.
  ASSERT_TRUE(Steer("plug receiver"));
  ASSERT_TRUE(Steer("unplug wired"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().wiredState == 2; }));
  EXPECT_EQ(label->text(), QString());
  EXPECT_FALSE(ring->isTextVisible());
  // A battery level shows its percentage again.
  ASSERT_TRUE(Steer("battery 7"));
  ASSERT_TRUE(test::WaitFor([&] { return ring->value() == 70; }));
  EXPECT_TRUE(ring->isTextVisible());
}

TEST_F(DevicePageTest, TheChargingSweepRestsWhileTheWindowIsMinimised) {
  Start("wired");
  auto* ring = Control<QProgressBar>("ms_1_progress_power");
  NotificationPump& timers = *window->ControlTimers();
  EXPECT_TRUE(timers.IsTimerRunning(ring, timer::kChargeAnimation));
  window->showMinimized();
  EXPECT_TRUE(timers.IsTimerActive(ring, timer::kChargeAnimation));
  EXPECT_FALSE(timers.IsTimerRunning(ring, timer::kChargeAnimation));
  const int resting = ring->value();
  QCoreApplication::processEvents();
  EXPECT_EQ(ring->value(), resting);
  window->showNormal();
  EXPECT_TRUE(timers.IsTimerRunning(ring, timer::kChargeAnimation));

  ASSERT_TRUE(Steer("unplug wired"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().wiredState == 2; }));
  EXPECT_FALSE(timers.IsTimerActive(ring, timer::kChargeAnimation));
}

TEST_F(DevicePageTest, TheChargingSweepRepaintsTheRingAloneOnThePanelsColour) {
  Start("wired");
  auto* ring = Control<QProgressBar>("ms_1_progress_power");
  ASSERT_TRUE(test::WaitFor([&] { return ring->value() > 0; }));
  // Opaque on the panel's own colour: beside it, in the gap to its label.
  const QImage shot = window->grab().toImage();
  const QPoint corner = ring->mapTo(window.get(), QPoint(ring->width() - 1, 0));
  EXPECT_EQ(shot.pixelColor(corner), shot.pixelColor(corner + QPoint(4, 0)));

  test::EventCounter paints(QEvent::Paint);
  paints.Watch(ring);
  paints.Watch(ring->parentWidget());
  paints.Watch(Control("ms_1_label_power"));
  paints.Watch(window.get());
  ASSERT_TRUE(test::WaitFor([&] { return paints.counts[ring] >= 5; }));
  for (const auto& [widget, count] : paints.counts) {
    if (widget != ring) {
      EXPECT_EQ(count, 0) << widget->objectName().toStdString();
    }
  }
}

// A full apply over Bluetooth LE: everything but the four polling-rate reports.
constexpr int kFullApplyOverBluetooth = 8;

class BluetoothPageTest : public test::DevicePageTest {
 protected:
  void StartOverBluetooth() {
    sim = std::make_unique<test::SimInstance>(
        ::testing::UnitTest::GetInstance()->current_test_info()->name(), "ble");
    ASSERT_TRUE(Steer("ping"));
    bluez.emplace();
    ASSERT_TRUE(bluez->ready());
    StartWindow();
    ASSERT_EQ(page->links().bleConnected, 1);
  }
  void TearDown() override {
    window.reset();
    bluez.reset();
    DevicePageTest::TearDown();
  }
  bool AllOverBluetooth() {
    const nlohmann::json log = sim->Log();
    for (const auto& entry : log["accepted"]) {
      if (entry["link"] != "ble") return false;
    }
    return true;
  }
  bool ApplyDone(int accepted) { return Accepted() == accepted && !Shown("apply_ring"); }

  std::optional<test::FakeBluez> bluez;
};

TEST_F(BluetoothPageTest, ApplyAndTheMouseEventsGoOverBluetoothAlone) {
  StartOverBluetooth();
  // The Device panel names the link; the battery part stays hidden.
  EXPECT_TRUE(Control("ms_1_BLE")->isVisible());
  EXPECT_TRUE(Control("device_status_title")->isVisible());
  EXPECT_FALSE(Control("ms_1_progress_power")->isVisible());
  EXPECT_FALSE(Shown("ms_1_check_prate")) << "Bluetooth LE has no polling rate";

  ClickApply();
  ASSERT_TRUE(test::WaitFor([&] { return ApplyDone(kFullApplyOverBluetooth); }, 60000));
  const auto state = sim->State();
  for (int mode_index : {0, 1}) {
    EXPECT_TRUE(state["modes"][mode_index]["settings"].is_object()) << mode_index;
    EXPECT_TRUE(state["modes"][mode_index]["lighting"].is_object()) << mode_index;
  }
  EXPECT_TRUE(AllOverBluetooth());

  // The diff base moved: an edit sends only its section (two lighting
  // reports between the mode selections), not the whole profile again.
  Control<QSlider>("ms_1_slider_brightness")->setValue(2);
  ASSERT_TRUE(test::WaitFor([&] { return ApplyDone(kFullApplyOverBluetooth + 4); }, 60000));
  EXPECT_EQ(MouseLighting(1)["brightness"], 2);

  ASSERT_TRUE(Steer("press dpi 3"));
  ASSERT_TRUE(test::WaitFor([&] { return window->DpiIndicator() != nullptr; }));
  EXPECT_TRUE(Control<QAbstractButton>("ms_1_option_dpi_step_3")->isChecked());
  for (const ModeRecord& m : Current().modes) EXPECT_EQ(m.dpi_level, 2);

  ASSERT_TRUE(Steer("battery 6"));
  ASSERT_TRUE(test::WaitFor([&] { return Control<QLabel>("ms_1_label_power")->text() == "60%"; }));
  EXPECT_EQ(Control<QProgressBar>("ms_1_progress_power")->value(), 60);
  EXPECT_TRUE(window->TrayIcon()->toolTip().endsWith("Battery: 60%")) << "where a user looks";
  ASSERT_TRUE(Steer("sleep"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().mouseAsleep == 1; }));
  EXPECT_TRUE(Shown("ms_1_sleep_label"));

  ASSERT_TRUE(Steer("unplug ble"));
  ASSERT_TRUE(test::WaitFor([&] { return !page->DevicePresent(); }));
  EXPECT_FALSE(Shown("ms_1_BLE"));
  EXPECT_TRUE(test::WaitFor([&] { return !window->TrayIcon()->toolTip().contains("Battery"); }));
}

// The mouse goes away in the middle of an apply: the apply ends without it,
// the window says the edits wait, and once the mouse is back the whole
// profile goes to it again without the user asking.
TEST_F(BluetoothPageTest, DisconnectingDuringAnApplyLeavesAFullApplyForWhenItIsBack) {
  StartOverBluetooth();
  ClickApply();
  ASSERT_TRUE(test::WaitFor([&] { return Accepted() >= 3; }, 60000));
  ASSERT_TRUE(Steer("unplug ble"));
  ASSERT_TRUE(test::WaitFor([&] { return page->links().bleConnected == 0; }));
  ASSERT_TRUE(test::WaitFor([&] { return !Shown("apply_ring"); }, 60000));
  const int before = Accepted();
  EXPECT_LT(before, kFullApplyOverBluetooth);
  EXPECT_TRUE(test::WaitFor([&] { return Shown("ms_1_unsent_label"); }));

  ASSERT_TRUE(Steer("plug ble"));
  ASSERT_TRUE(test::WaitFor([&] { return ApplyDone(before + kFullApplyOverBluetooth); }, 60000));
  EXPECT_TRUE(AllOverBluetooth());
  EXPECT_FALSE(Shown("ms_1_unsent_label"));
}

}  // namespace
}  // namespace ms1
