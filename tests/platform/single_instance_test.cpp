#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <csignal>
#include <cstddef>
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
    const int fd = open(QFile::encodeName(probe.LockPath()).constData(), O_RDWR | O_CREAT, 0644);
    _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
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

TEST(SingleInstance, ALinkPlantedWhereTheLockGoesIsRefusedAndCreatesNothing) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  SingleInstance instance(UniqueName(), root.path());
  const QString target = root.filePath(QStringLiteral("elsewhere"));
  ASSERT_TRUE(QFile::link(target, instance.LockPath()));
  EXPECT_EQ(instance.Acquire(), InstanceClaim::kFailed);
  EXPECT_EQ(instance.FailureReason(), QString::fromLocal8Bit(std::strerror(ELOOP)));
  EXPECT_FALSE(QFile::exists(target));
}

// Connects to the abstract socket `name` as user `uid`, in a child process,
// and asks to come forward. The child exits 0 when it was answered, 1 when the
// connection was closed without an answer, 2 when it could not connect.
pid_t AskAsUser(const QString& name, uid_t uid) {
  const QByteArray encoded = QFile::encodeName(name);
  const pid_t child = fork();
  if (child != 0) return child;
  if (setgid(uid) != 0 || setuid(uid) != 0) _exit(3);
  // A refused peer may be closed before the request is written.
  signal(SIGPIPE, SIG_IGN);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, encoded.constData(), encoded.size());
  // The name's exact length, or the whole address as some Qt versions bind it.
  const auto exact = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + encoded.size());
  auto* any = reinterpret_cast<sockaddr*>(&address);
  if (connect(fd, any, exact) != 0 && connect(fd, any, sizeof address) != 0) _exit(2);
  if (write(fd, "show\n", 5) != 5) _exit(1);
  pollfd readable{fd, POLLIN, 0};
  char answer[8] = {};
  if (poll(&readable, 1, 10000) != 1 || read(fd, answer, sizeof answer) <= 0) _exit(1);
  _exit(std::strncmp(answer, "ok\n", 3) == 0 ? 0 : 1);
}

TEST(SingleInstance, OnlyTheSameUserIsBroughtForward) {
  if (geteuid() != 0) GTEST_SKIP() << "connecting as another user needs root";
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_EQ(first.Acquire(), InstanceClaim::kFirst);
  int shows = 0;
  QObject::connect(&first, &SingleInstance::showRequested, [&] { ++shows; });

  const struct {
    uid_t uid;
    int exit_code;
    int shows;
  } cases[] = {{65534, 1, 0}, {geteuid(), 0, 1}, {12345, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.uid);
    const pid_t child = AskAsUser(first.SocketName(), c.uid);
    ASSERT_GT(child, 0);
    int status = -1;
    ASSERT_TRUE(test::WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.exit_code);
    QCoreApplication::processEvents();
    EXPECT_EQ(shows, c.shows);
  }
}

// What another user of the machine plants where this user's copy looks is
// not taken for it: a lock file that is not ours alone, a socket bound first.
TEST(SingleInstance, WhatAnotherUserPlantedIsNotTakenForOurOwn) {
  if (geteuid() != 0) GTEST_SKIP() << "planting as another user needs root";
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const struct {
    uid_t owner;
    mode_t mode;
    const char* problem;
  } locks[] = {{65534, 0644, "another user"}, {geteuid(), 0666, "writable by others"}};
  for (const auto& c : locks) {
    SingleInstance instance(UniqueName(), root.path());
    const QByteArray path = QFile::encodeName(instance.LockPath());
    const int fd = open(path.constData(), O_RDWR | O_CREAT, c.mode);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchown(fd, c.owner, c.owner), 0);
    ASSERT_EQ(fchmod(fd, c.mode), 0);
    close(fd);
    EXPECT_EQ(instance.Acquire(), InstanceClaim::kFailed) << c.problem;
    EXPECT_TRUE(instance.FailureReason().contains(QString::fromLatin1(c.problem)))
        << instance.FailureReason().toStdString();
  }

  // A stranger binds the name first and answers as if it were our copy.
  const QString name = UniqueName();
  const QByteArray encoded = SingleInstance(name).SocketName().toUtf8();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t squatter = fork();
  if (squatter == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, encoded.constData(), encoded.size());
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + encoded.size());
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd, 4) != 0) _exit(2);
    (void)!write(ready[1], "r", 1);
    for (;;) {
      const int client = accept(fd, nullptr, nullptr);
      if (client < 0) _exit(0);
      char request[8];
      (void)!read(client, request, sizeof request);
      (void)!write(client, "ok\n", 3);
      close(client);
    }
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the squatter could not bind";
  close(ready[0]);
  SingleInstance later(name);
  EXPECT_FALSE(later.AskFirstToComeForward(2000)) << "a stranger's answer was believed";
  kill(squatter, SIGKILL);
  waitpid(squatter, nullptr, 0);
}

}  // namespace
}  // namespace ms1
