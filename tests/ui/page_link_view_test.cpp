// The window with the mouse reachable over Bluetooth LE alone: the virtual
// mouse behind the fake BlueZ on a private bus, real pauses.
#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QSystemTrayIcon>
#include <optional>

#include "device_page_fixture.h"
#include "support/fake_bluez.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

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
  for (int k : {0, 1}) {
    EXPECT_TRUE(state["modes"][k]["settings"].is_object()) << k;
    EXPECT_TRUE(state["modes"][k]["lighting"].is_object()) << k;
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
