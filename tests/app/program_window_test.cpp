// The real program on a real X server (Xvfb): its window appears, a second
// start exits with 1 and makes the first come forward (without a mouse: its
// no-device warning), and the exit button ends it cleanly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <string>
#include <vector>

#include "platform/language.h"
#include "support/run.h"

namespace ms1 {
namespace {

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            int outFd = -1) {
  const pid_t pid = fork();
  if (pid == 0) {
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, 0);
    dup2(outFd >= 0 ? outFd : null_fd, 1);
    dup2(null_fd, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

// Waits for a child with a safety timeout; -1 when it did not end in time.
int WaitExit(pid_t pid, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (deadline.hasExpired()) return -1;
    QThread::msleep(20);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class ProgramOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (test::Run({"/usr/bin/which", "Xvfb"}).exit_code != 0 ||
        test::Run({"/usr/bin/which", "xdotool"}).exit_code != 0) {
      GTEST_SKIP() << "needs Xvfb and xdotool";
    }
    // Xvfb picks a free display and writes its number to the pipe.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset", "-screen", "0",
                   "1280x800x24", "-nolisten", "tcp"},
                  {}, -1);
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    display_ = ":" + number;
    env_ = {"DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb",
            "XDG_RUNTIME_DIR=" + runtime_.path().toStdString()};
  }
  void TearDown() override {
    if (program_ > 0 && WaitExit(program_, 0) == -1) {
      kill(program_, SIGKILL);
      waitpid(program_, nullptr, 0);
    }
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      waitpid(xvfb_, nullptr, 0);
    }
  }
  test::RunResult X(std::vector<std::string> argv) {
    std::vector<std::string> withEnv = {"/usr/bin/env", "DISPLAY=" + display_};
    withEnv.insert(withEnv.end(), argv.begin(), argv.end());
    return test::Run(withEnv);
  }
  // The id of the visible window with this title, waiting for it to appear.
  std::string FindWindow(const std::string& title, int timeoutMs = 20000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
      const auto found =
          X({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"});
      if (found.exit_code == 0 && !found.out.empty())
        return found.out.substr(0, found.out.find('\n'));
      QThread::msleep(50);
    }
    return {};
  }
  void ClickIn(const std::string& window, int x, int y) {
    X({"/usr/bin/xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y),
       "click", "1"});
  }

  QTemporaryDir runtime_;
  pid_t xvfb_ = -1;
  pid_t program_ = -1;
  std::string display_;
  std::vector<std::string> env_;
};

TEST_F(ProgramOnX, ShowsItsWindowRefusesASecondCopyAndEndsByItsExitButton) {
  program_ = Spawn({MS1_PROGRAM}, env_);
  const std::string title = Lan().Text(QStringLiteral("mouse_name_text")).toStdString();
  const std::string main = FindWindow(title);
  ASSERT_FALSE(main.empty()) << "the main window did not appear";
  X({"/usr/bin/import", "-window", "root", MS1_ARTIFACT_DIR "program_window.png"});

  const auto geometry = X({"/usr/bin/xdotool", "getwindowgeometry", main});
  EXPECT_NE(geometry.out.find("800x572"), std::string::npos) << geometry.out;

  // A second copy: exit code 1, and the first reacts. Without a mouse it
  // answers with its no-device warning.
  std::vector<std::string> second = {"/usr/bin/env"};
  second.insert(second.end(), env_.begin(), env_.end());
  second.push_back(MS1_PROGRAM);
  EXPECT_EQ(test::Run(second).exit_code, 1);
  const std::string warning =
      FindWindow(Lan().Text(QStringLiteral("warning_title_text")).toStdString());
  ASSERT_FALSE(warning.empty()) << "the first copy did not come forward";
  ClickIn(warning, 340 - 14 - 44, 180 - 14 - 15);  // OK, bottom right of the box

  ClickIn(main, 800 - 8 - 15, 23);  // the exit button, right end of the caption bar
  EXPECT_EQ(WaitExit(program_, 20000), 0);
  program_ = -1;
}

}  // namespace
}  // namespace ms1
