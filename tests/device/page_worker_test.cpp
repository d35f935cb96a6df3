#include "device/page_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/apply_engine.h"
#include "fakes.h"
#include "model/profile.h"
#include "model/settings_reports.h"
#include "signal.h"

namespace ms1 {
namespace {

using test::Signal;

// A worker on `links` given `messages`, then stopped: the applies it ran.
int AppliesAfter(const LinkState& links, std::initializer_list<uint32_t> messages) {
  std::atomic<int> applies{0};
  PageWorker worker(links, [&] {
    ++applies;
    return ApplyOutcome::kDone;
  });
  worker.Start();
  for (const uint32_t message : messages) worker.Post(message);
  worker.Stop();
  return applies;
}

TEST(PageWorkerTest, RequestWithNoLinkAndForeignMessagesAreDropped) {
  LinkState links;
  std::atomic<int> applies{0};
  std::atomic<int> no_link{0};  // told so the window can say the edits wait
  PageWorker worker(links, [&] { ++applies; return ApplyOutcome::kDone; }, [&] { ++no_link; });
  worker.Start();
  worker.Post(TM_APPLY);
  links.wiredState = link_presence::kRemoved;
  worker.Post(TM_APPLY);
  worker.Stop();  // the queue is worked through in order before the quit
  EXPECT_EQ(applies, 0);
  EXPECT_GE(no_link, 1) << "a request waiting unstarted takes in the next";

  LinkState open;
  open.bleConnected = 1;
  // Only the thread message runs an apply.
  EXPECT_EQ(AppliesAfter(open, {TM_APPLY - 1, TM_APPLY + 1, TM_APPLY}), 1);
}

TEST(PageWorkerTest, EachLinkKindIsEnoughToRunAnApply) {
  for (int which = 0; which < 3; ++which) {
    LinkState links;
    if (which == 0) links.wiredState = link_presence::kPresent;
    if (which == 1) links.receiverState = link_presence::kPresent;
    if (which == 2) links.bleConnected = 1;
    EXPECT_EQ(AppliesAfter(links, {TM_APPLY}), 1) << which;
  }
}

TEST(PageWorkerTest, PostAfterStopIsNotRunAndStopTwiceIsHarmless) {
  LinkState links;
  links.wiredState = link_presence::kPresent;
  std::atomic<int> applies{0};
  PageWorker worker(links, [&] { ++applies; return ApplyOutcome::kDone; });
  worker.Start();
  worker.Stop();
  worker.Post(TM_APPLY);
  worker.Stop();
  EXPECT_EQ(applies, 0);
}

// The worker runs the real apply engine; the sender is where each test holds
// the apply in the middle of its reports.
class WorkerApplyTest : public ::testing::Test, protected test::ApplyRig {
 protected:
  PageWorker worker{links, [this] { return engine.ApplyConfiguration(); }};
  Signal in_apply, release;

  void SetUp() override {
    test::LoadProfiles(model, {u"P"});
    // Hold the first apply at its first report until the test releases it.
    sender.on_send = [this](const Report&) {
      if (sender.sent.size() != 1) return;
      in_apply.Raise();
      ASSERT_TRUE(release.Wait());
    };
    worker.Start();
  }
};

// Browsing profiles queues one request per row: those made while another
// waits unstarted merge into it, and the mouse still ends with the last edit.
TEST_F(WorkerApplyTest, RequestsDuringAnApplyMergeIntoOneMore) {
  worker.Post(TM_APPLY);
  ASSERT_TRUE(in_apply.Wait());
  worker.Post(TM_APPLY);
  model.With([](PageState& s) { SetSharedSetting(*s.Current(), SharedSetting::kSleepTimer, 5); });
  worker.Post(TM_APPLY);
  worker.Post(TM_APPLY);
  release.Raise();
  worker.Stop();

  const std::vector<uint8_t> full = {0x0C, 0x04, 0x05, 0x06, 0x06, 0x04,
                                     0x05, 0x06, 0x06, 0x08, 0x08, 0x0C};
  std::vector<uint8_t> expected = full;
  for (uint8_t c : {0x0C, 0x05, 0x05, 0x0C}) expected.push_back(c);  // the edit
  EXPECT_EQ(test::Commands(sender.sent), expected);
  EXPECT_EQ(store.saves, 2);
}

// The mouse's own mode button pressed mid-apply: the apply's last report put
// the old mode back, so the worker runs one more apply by itself.
TEST_F(WorkerApplyTest, AModePressedDuringAnApplyIsSentByOneMoreApply) {
  Signal second_done;
  sender.on_send = [&, held = false](const Report&) mutable {
    if (sender.sent.size() == 1 && !held) {
      held = true;
      in_apply.Raise();
      ASSERT_TRUE(release.Wait());
    }
    if (sender.sent.size() == 14) second_done.Raise();
  };
  worker.Post(TM_APPLY);
  ASSERT_TRUE(in_apply.Wait());
  EXPECT_TRUE(model.RecordReported(ReportedSetting::kActiveMode, 2));
  release.Raise();
  ASSERT_TRUE(second_done.Wait());
  worker.Stop();
  ASSERT_EQ(sender.sent.size(), 14u) << "the mode selects only";
  EXPECT_EQ(sender.sent.back(), EncodeModeSelectReport(*model.With([](PageState& s) {
    return CopyProfile(*s.Current());
  })));
  EXPECT_EQ(sender.sent.back()[2], 3) << "mode record 2 is mode number 3";
}

TEST_F(WorkerApplyTest, ShutdownWaitsForTheRunningApply) {
  worker.Post(TM_APPLY);
  ASSERT_TRUE(in_apply.Wait());
  std::thread closing([this] {
    worker.Stop();
    host.Add("stopped");
  });
  // Let the quit message reach the queue while the apply is held.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (worker.QueuedMessages() == 0 && std::chrono::steady_clock::now() < limit) {
    std::this_thread::yield();
  }
  EXPECT_EQ(host.Events(), (std::vector<std::string>{"stop-heartbeat", "show-ring"}));
  release.Raise();
  closing.join();
  EXPECT_EQ(sender.sent.size(), 12u);
  EXPECT_EQ(host.Events(),
            (std::vector<std::string>{"stop-heartbeat", "show-ring", "start-heartbeat 6000",
                                      "hide-ring", "stopped"}));
  EXPECT_EQ(store.saves, 1);
}

}  // namespace
}  // namespace ms1
