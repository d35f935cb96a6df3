#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <cstring>
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
  ASSERT_EQ(first.Acquire(), InstanceClaim::kFirst);
  int shows = 0;
  QObject::connect(&first, &SingleInstance::showRequested, [&] { ++shows; });

  SingleInstance second(name);
  EXPECT_EQ(second.Acquire(), InstanceClaim::kAnotherRuns);
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
  EXPECT_EQ(probe.Acquire(), InstanceClaim::kFirst);
}

TEST(SingleInstance, TheNameIsFreeAgainOnceTheFirstCopyEnds) {
  const QString name = UniqueName();
  {
    SingleInstance first(name);
    ASSERT_EQ(first.Acquire(), InstanceClaim::kFirst);
  }
  SingleInstance next(name);
  EXPECT_EQ(next.Acquire(), InstanceClaim::kFirst);
}

TEST(SingleInstance, ALockThatCannotBeTakenIsAFailureWithItsReasonNotAnotherCopy) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  QFile plain(root.filePath(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  QDir(root.path()).mkdir(QStringLiteral("read-only"));
  QFile::setPermissions(root.filePath(QStringLiteral("read-only")),
                        QFile::ReadOwner | QFile::ExeOwner);
  const struct {
    const char* folder;
    int cause;
  } cases[] = {
      {"missing", ENOENT},
      {"plain", ENOTDIR},  // a file where the folder should be
      {"read-only", EACCES},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    if (c.cause == EACCES && geteuid() == 0) continue;  // root writes anywhere
    SingleInstance instance(UniqueName(), root.filePath(QString::fromLatin1(c.folder)));
    EXPECT_EQ(instance.Acquire(), InstanceClaim::kFailed);
    EXPECT_EQ(instance.FailureReason(), QString::fromLocal8Bit(std::strerror(c.cause)));
    EXPECT_TRUE(instance.LockPath().startsWith(root.filePath(QString::fromLatin1(c.folder)) + '/'));
  }
}

}  // namespace
}  // namespace ms1
