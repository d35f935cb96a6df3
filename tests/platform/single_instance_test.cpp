#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QUuid>
#include <thread>

#include "support/qt_wait.h"

namespace ms1 {
namespace {

QString UniqueName() {
  return QStringLiteral("ms1-test ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstance, ASecondCopyIsRefusedAndBringsTheFirstForward) {
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_TRUE(first.Acquire());
  int shows = 0;
  QObject::connect(&first, &SingleInstance::showRequested, [&] { ++shows; });

  SingleInstance second(name);
  EXPECT_FALSE(second.Acquire());
  // The later copy asks from another thread, as a separate process would,
  // while this thread's event loop serves the request.
  bool answered = false;
  std::atomic<bool> done{false};
  std::thread asker([&] {
    SingleInstance later(name);
    answered = later.AskFirstToComeForward(10000);
    done = true;
  });
  ASSERT_TRUE(test::WaitFor([&] { return done.load() && shows == 1; }));
  asker.join();
  EXPECT_TRUE(answered);
}

TEST(SingleInstance, NobodyAnswersWhenThereIsNoFirstCopy) {
  SingleInstance lonely(UniqueName());
  EXPECT_FALSE(lonely.AskFirstToComeForward(2000));
}

TEST(SingleInstance, ALockLeftByADeadProcessIsTakenOver) {
  const QString name = UniqueName();
  SingleInstance probe(name);
  // A copy that crashes leaves its lock file behind.
  const pid_t child = fork();
  if (child == 0) {
    QLockFile lock(probe.LockPath());
    _exit(lock.tryLock(0) ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFile::exists(probe.LockPath()));
  EXPECT_TRUE(probe.Acquire());
}

TEST(SingleInstance, TheNameIsFreeAgainOnceTheFirstCopyEnds) {
  const QString name = UniqueName();
  {
    SingleInstance first(name);
    ASSERT_TRUE(first.Acquire());
  }
  SingleInstance next(name);
  EXPECT_TRUE(next.Acquire());
}

}  // namespace
}  // namespace ms1
