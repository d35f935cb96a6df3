// The real program: the first copy runs, a second start exits with 1 and the
// first is asked to come forward; a start while a copy ends waits for it.
// Both run off-screen.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/single_instance.h"
#include "support/process.h"
#include "support/qt_wait.h"
#include "support/run.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

constexpr char kInstance[] = "Velmar KTQ9ZWRX mouse ";

pid_t StartProgram() {
  const std::string program = test::paths::ProgramFile();  // no allocation after fork
  const pid_t pid = fork();
  if (pid == 0) {
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool Listening() {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(SingleInstance(QString::fromLatin1(kInstance)).SocketName());
  return socket.waitForConnected(200);
}

TEST(Program, ASecondStartExitsWithOneWhileTheFirstRuns) {
  // A session of its own, apart from any copy the user runs.
  QTemporaryDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  ASSERT_FALSE(Listening());
  const pid_t first = StartProgram();
  ASSERT_GT(first, 0);
  const bool up = test::WaitFor([] { return Listening(); }, 60000);
  int secondExit = -1;
  if (up) secondExit = test::Run({test::paths::ProgramFile()}).exit_code;
  int status = 0;
  const bool firstStillRuns = waitpid(first, &status, WNOHANG) == 0;
  kill(first, SIGTERM);
  waitpid(first, &status, 0);
  ASSERT_TRUE(up);
  EXPECT_EQ(secondExit, 1);
  EXPECT_TRUE(firstStillRuns);
}

// The first line of the program's output holding `text`; empty when none came.
std::string LineWith(test::RunningProgram& program, const std::string& text) {
  for (std::string line; !(line = program.NextLine()).empty();) {
    if (line.find(text) != std::string::npos) return line;
  }
  return {};
}

// A copy that is ending holds the lock but no longer answers: a start
// meanwhile waits for it and runs once it lets go, or says why it cannot.
TEST(Program, AStartWhileTheFirstCopyEndsWaitsForItOrSaysWhy) {
  QTemporaryDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  for (const bool lets_go : {true, false}) {
    SCOPED_TRACE(lets_go ? "the ending copy lets go" : "it never lets go");
    std::optional<SingleInstance> ending(std::in_place, QString::fromLatin1(kInstance));
    ASSERT_EQ(ending->Acquire(), InstanceClaim::kFirst);
    ending->StopAnswering();
    test::RunningProgram second({test::paths::ProgramFile()}, /*with_errors=*/true);
    ASSERT_NE(LineWith(second, "another copy is ending; waiting"), "");
    if (lets_go) {
      ending.reset();
      EXPECT_TRUE(test::WaitFor([] { return Listening(); }, 60000));
      second.Signal(SIGTERM);
    } else {
      EXPECT_NE(LineWith(second, "neither came forward nor ended"), "");
      EXPECT_EQ(second.Signal(0), 3);
    }
  }
}

TEST(Program, ALockThatCannotBeTakenIsReportedAndIsNotExitCodeOne) {
  // Neither the runtime folder nor the temporary folder is a folder.
  QTemporaryDir root;
  const QString plain = root.filePath(QStringLiteral("plain"));
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const std::string folder = plain.toStdString();
  const test::RunResult run = test::Run({"/usr/bin/env", "XDG_RUNTIME_DIR=" + folder,
                                         "TMPDIR=" + folder, test::paths::ProgramFile()});
  EXPECT_NE(run.exit_code, 0);
  EXPECT_NE(run.exit_code, 1) << "1 means another copy runs";
  const std::string lock = (plain + '/' + QString::fromLatin1(kInstance) + '-' +
                            QString::number(geteuid()) + ".lock")
                               .toStdString();
  EXPECT_NE(run.err.find("lock " + lock + ": " + std::strerror(ENOTDIR)), std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace ms1
