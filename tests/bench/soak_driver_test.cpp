// The soak's random use on the real window and the virtual mouse: every action
// finds its controls on the real skin and does something, the dialogs it
// opens are answered, the page follows the mouse, and after it all one apply
// leaves the mouse holding the current profile.
#include <gtest/gtest.h>

#include <QComboBox>
#include <algorithm>
#include <cstring>

#include "bench/soak_driver/modal_answers.h"
#include "bench/soak_driver/mouse_match.h"
#include "bench/soak_driver/soak_action.h"
#include "device_page_fixture.h"
#include "support/qt_wait.h"

namespace ms1::soak {
namespace {

class SoakDriverTest : public test::DevicePageTest {
 protected:
  void SetUp() override {
    Start("wired");
    access = std::make_unique<PageAccess>(*window, *page);
    mouse = std::make_unique<MouseSteering>(*access, false);
    ASSERT_TRUE(mouse->Connect());
    context = std::make_unique<SoakContext>(SoakContext{*access, *mouse, random, {}});
    answers = std::make_unique<ModalAnswers>([this](int n) { return context->Draw(n); });
    answers->Start();
  }
  void TearDown() override {
    answers.reset();
    DevicePageTest::TearDown();
  }
  // Runs `action` until it could be done, at most `tries` times.
  bool DoneWithin(const SoakAction& action, int tries) {
    for (int i = 0; i < tries; ++i) {
      if (action.run(*context)) return true;
    }
    return false;
  }
  void ChooseLightEffect(int effect) {
    Control<QComboBox>("ms_1_combo_light")->setCurrentIndex(effect);
  }

  std::mt19937_64 random{20260101};
  std::unique_ptr<PageAccess> access;
  std::unique_ptr<MouseSteering> mouse;
  std::unique_ptr<SoakContext> context;
  std::unique_ptr<ModalAnswers> answers;
};

TEST_F(SoakDriverTest, EveryPageActionReachesItsControlAndTheMouseEndsWithTheProfile) {
  // Lighting rows show for some effects only.
  const std::map<std::string, int> needs_effect = {{"brightness", 1}, {"lighting speed", 2}};
  const std::vector<SoakAction> actions = PageActions();
  const auto before = access->CurrentProfile();
  // Two more profiles first: switching needs two, and deleting keeps two.
  const auto add = std::find_if(actions.begin(), actions.end(), [](const SoakAction& a) {
    return std::string(a.name) == "profile add";
  });
  ASSERT_NE(add, actions.end());
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(DoneWithin(*add, 1));
  for (const SoakAction& action : actions) {
    if (const auto effect = needs_effect.find(action.name); effect != needs_effect.end()) {
      ChooseLightEffect(effect->second);
    }
    EXPECT_TRUE(DoneWithin(action, 20)) << action.name << " found no control to use";
    EXPECT_TRUE(test::WaitFor([] { return QApplication::activeModalWidget() == nullptr; }))
        << action.name << " left a dialog open";
  }
  EXPECT_GT(answers->Answered().at("colour dialog"), 0);
  EXPECT_GT(answers->Answered().at("profile name"), 0);
  EXPECT_TRUE(context->anomalies.empty());
  EXPECT_NE(std::memcmp(before.get(), access->CurrentProfile().get(), sizeof(ProfileRecord)), 0);

  ClickApply();
  ASSERT_TRUE(test::WaitFor([&] { return access->Settled(); }, 120000));
  const auto current = access->CurrentProfile();
  std::vector<std::string> mismatches;
  EXPECT_TRUE(test::WaitFor([&] { return (mismatches = MouseMismatches(*current, sim->State())).empty(); }))
      << mismatches.front();
}

TEST_F(SoakDriverTest, ThePageFollowsEveryPressAndPlugChange) {
  for (const SoakAction& action : MouseActions()) {
    for (int i = 0; i < 3; ++i) action.run(*context);
    EXPECT_TRUE(context->anomalies.empty()) << action.name << ": " << context->anomalies.begin()->first;
    context->anomalies.clear();
  }
  for (const ConnectionMode link : mouse->Links()) {
    EXPECT_TRUE(mouse->SetPlugged(link, true)) << LinkName(link);
    EXPECT_TRUE(mouse->PageSees(link));
    EXPECT_TRUE(mouse->SetPlugged(link, false)) << LinkName(link);
  }
  EXPECT_FALSE(mouse->AnyPlugged());
  EXPECT_TRUE(test::WaitFor([&] { return !page->DevicePresent(); }));
}

}  // namespace
}  // namespace ms1::soak
