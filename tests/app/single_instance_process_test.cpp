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
#include "program_session.h"
#include "support/qt_wait.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

constexpr char kInstance[] = "Velmar KTQ9ZWRX mouse ";

bool Listening() {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(SingleInstance(QString::fromLatin1(kInstance)).SocketName());
  return socket.waitForConnected(200);
}

// A session of its own, apart from any copy the user runs.
using Program = test::ProgramSession;

TEST_F(Program, ASecondStartExitsWithOneWhileTheFirstRuns) {
  ASSERT_FALSE(Listening());
  StartProgram(test::paths::ProgramFile());
  ASSERT_GT(program_, 0);
  const bool up = test::WaitFor([] { return Listening(); }, 60000);
  int secondExit = -1;
  if (up) secondExit = StartSecondCopy(test::paths::ProgramFile());
  const bool firstStillRuns = waitpid(program_, nullptr, WNOHANG) == 0;
  kill(program_, SIGTERM);
  ProgramExit();
  ASSERT_TRUE(up);
  EXPECT_EQ(secondExit, 1);
  EXPECT_TRUE(firstStillRuns);
}

// A copy that is ending holds the lock but no longer answers: a start
// meanwhile waits for it and runs once it lets go, or says why it cannot.
TEST_F(Program, AStartWhileTheFirstCopyEndsWaitsForItOrSaysWhy) {
  for (const bool lets_go : {true, false}) {
    SCOPED_TRACE(lets_go ? "the ending copy lets go" : "it never lets go");
    std::optional<SingleInstance> ending(std::in_place, QString::fromLatin1(kInstance));
    ASSERT_EQ(ending->Acquire(), InstanceClaim::kFirst);
    ending->StopAnswering();
    test::RunningProgram second({test::paths::ProgramFile()}, /*with_errors=*/true);
    ASSERT_NE(second.LineWith("another copy is ending; waiting"), "");
    if (lets_go) {
      ending.reset();
      EXPECT_TRUE(test::WaitFor([] { return Listening(); }, 60000));
      second.Signal(SIGTERM);
    } else {
      EXPECT_NE(second.LineWith("neither came forward nor ended"), "");
      EXPECT_EQ(second.Signal(0), 3);
    }
  }
}

TEST_F(Program, ALockThatCannotBeTakenIsReportedAndIsNotExitCodeOne) {
  // Neither the runtime folder nor the temporary folder is a folder.
  QTemporaryDir root;
  const QString plain = root.filePath(QStringLiteral("plain"));
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const std::string folder = plain.toStdString();
  const test::RunResult run =
      RunInSession({test::paths::ProgramFile()}, {"XDG_RUNTIME_DIR=" + folder, "TMPDIR=" + folder});
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
