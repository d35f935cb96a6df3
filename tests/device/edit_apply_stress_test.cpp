// Edits on the interface thread racing applies on the worker, as the program
// runs them: must stay consistent (and clean under ThreadSanitizer).
#include <gtest/gtest.h>

#include <random>

#include "device/apply_engine.h"
#include "device/page_worker.h"
#include "device/report_transport.h"
#include "fakes.h"
#include "model/profile.h"

namespace ms1 {
namespace {

using test::SameProfile;

TEST(EditApplyStressTest, EditsRacingAppliesStayConsistent) {
  test::WiredApplyRig rig;
  LinkState& links = rig.links;
  PageModel& model = rig.model;
  test::FakeStore& store = rig.store;
  test::LoadProfiles(model, {u"A", u"B", u"C"});
  PageWorker worker(links, [&] { return rig.engine.ApplyConfiguration(); });
  worker.Start();

  std::mt19937 random(12345);
  constexpr int kEdits = 3000;
  for (int i = 0; i < kEdits; ++i) {
    const int pick = static_cast<int>(random() % 6);
    model.With([&](PageState& s) {
      ProfileRecord& p = *s.Current();
      switch (pick) {
        case 0:
          SetSharedSetting(p, SharedSetting::kLightBrightness, i % 10);
          break;
        case 1:
          SetSharedSetting(p, SharedSetting::kDpiValue, 10 + i % 100, i % 8);
          break;
        case 2:
          SetSharedSetting(p, SharedSetting::kPollingRate, i % 4);
          break;
        case 3: {
          ButtonRecord b = ButtonOf(ModeOf(p, 0), 12);
          b.function_code = static_cast<uint8_t>(i % 2 == 0 ? kFunctionMacro : 1);
          StoreButtonAssignment(p, 12, b);
          break;
        }
        case 4:
          p.active_mode = i % 2;
          break;
        default:
          s.selected = i % 3;
          s.force_full_apply = true;
      }
    });
    if (i % 7 == 0) worker.Post(TM_APPLY);
    if (i % 97 == 0) model.SaveStore(store);                // the interface thread saves too
    if (i % 500 == 0) links.receiverAwake = i % 1000 == 0;  // link fields move meanwhile
  }
  worker.Post(TM_APPLY);
  worker.Stop();

  EXPECT_FALSE(store.overlapped);
  // Requests made while another waits merge into it, so fewer applies run
  // than were asked for; the interface thread's saves come on top.
  EXPECT_GT(store.saves, kEdits / 97 + 1);
  // The last apply started after the last edit, so what it sent is current.
  model.With([](PageState& s) { EXPECT_TRUE(SameProfile(*s.last_applied, *s.Current())); });
  for (const Report& r : rig.wired.sent) {
    ASSERT_GE(r.size(), 9u);
    EXPECT_EQ(r[1], r.size());  // no torn report: every length byte matches
  }
}

}  // namespace
}  // namespace ms1
