#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "support/qt_wait.h"

namespace ms1 {
namespace {

TEST(WindowMessages, MessagesPostedFromManyThreadsArriveOnTheInterfaceThreadInOrder) {
  constexpr int kThreads = 4;
  constexpr int kEach = 200;
  std::vector<std::vector<intptr_t>> seen(kThreads);
  int total = 0;
  bool wrongThread = false;
  WindowMessages window([&](const WindowMessage& m) {
    wrongThread |= QThread::currentThread() != qApp->thread();
    seen[m.wParam].push_back(m.lParam);
    ++total;
    return true;
  });
  Ms1WindowHandle handle = window.Handle();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([handle, t] {
      for (int i = 0; i < kEach; ++i) handle.post(handle.context, 1325, t, i);
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_TRUE(test::WaitFor([&] { return total == kThreads * kEach; }));
  EXPECT_FALSE(wrongThread);
  for (const auto& perThread : seen) {
    ASSERT_EQ(perThread.size(), size_t{kEach});
    for (int i = 0; i < kEach; ++i) EXPECT_EQ(perThread[i], i);
  }
}

TEST(WindowMessages, MenuNamesTravelWithTheMessage) {
  QString name;
  WindowMessages window([&](const WindowMessage& m) {
    if (m.message == 1027) name = m.text;
    return true;
  });
  window.Post(1027, 0, 0, QStringLiteral("configuration"));
  ASSERT_TRUE(test::WaitFor([&] { return !name.isEmpty(); }));
  EXPECT_EQ(name, QStringLiteral("configuration"));
}

TEST(WindowMessages, WorkFromAnotherThreadRunsOnTheInterfaceThreadInOrderWithMessages) {
  std::vector<std::string> order;
  WindowMessages window([&](const WindowMessage& m) {
    order.push_back("message " + std::to_string(m.lParam));
    return true;
  });
  bool wrongThread = false;
  std::thread poster([&] {
    window.Post(1329, 0, 1);
    window.PostWork([&] {
      wrongThread |= QThread::currentThread() != qApp->thread();
      order.push_back("work");
    });
    window.Post(1329, 0, 2);
  });
  poster.join();
  ASSERT_TRUE(test::WaitFor([&] { return order.size() == 3; }));
  EXPECT_FALSE(wrongThread);
  EXPECT_EQ(order, (std::vector<std::string>{"message 1", "work", "message 2"}));
}

TEST(WindowMessages, MessagesWaitingBehindAModalLoopAreDeliveredInsideIt) {
  std::vector<uint32_t> order;
  std::vector<uint32_t> insideModal;
  bool inModal = false;
  QEventLoop modal;
  WindowMessages window([&](const WindowMessage& m) {
    order.push_back(m.message);
    if (inModal) insideModal.push_back(m.message);
    if (m.message == 1) {
      // Like a message box: runs until the later messages have been handled.
      QTimer::singleShot(10000, &modal, &QEventLoop::quit);  // safety net only
      inModal = true;
      modal.exec();
      inModal = false;
    }
    if (m.message == 3) modal.quit();
    return true;
  });
  window.Post(1);
  window.Post(2);
  window.Post(3);
  ASSERT_TRUE(test::WaitFor([&] { return order.size() == 3; }));
  EXPECT_EQ(order, (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(insideModal, (std::vector<uint32_t>{2, 3}));
}

TEST(WindowMessages, TimersFireByIdUntilKilledAndRestartWithANewPeriod) {
  std::vector<uintptr_t> fired;
  WindowMessages* self = nullptr;
  WindowMessages window([&](const WindowMessage& m) {
    if (m.message == sysmsg::kTimer) {
      fired.push_back(m.wParam);
      self->KillTimer(static_cast<int>(m.wParam));
    }
    return false;
  });
  self = &window;
  window.SetTimer(43, 500);
  window.SetTimer(52, 1);
  window.SetTimer(43, 2);  // restarted with the shorter period
  EXPECT_EQ(window.TimerInterval(43), 2);
  ASSERT_TRUE(test::WaitFor([&] { return fired.size() == 2; }));
  EXPECT_FALSE(window.IsTimerActive(43));
  EXPECT_FALSE(window.IsTimerActive(52));
  EXPECT_EQ(std::count(fired.begin(), fired.end(), 43u), 1);
  EXPECT_EQ(std::count(fired.begin(), fired.end(), 52u), 1);
}

}  // namespace
}  // namespace ms1
