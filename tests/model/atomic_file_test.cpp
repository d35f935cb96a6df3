#include "model/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

ByteView View(const std::string& s) {
  return std::as_bytes(std::span(s.data(), s.size()));
}

// Injected write calls: each writes at most a few bytes; the failing one then
// runs out of space, as a full disk does mid-file.
ssize_t TrickleWrite(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, std::min<std::size_t>(size, 3));
}
ssize_t FailAfterSomeBytes(int fd, const void* data, std::size_t size) {
  static thread_local std::size_t written = 0;
  if (written >= 5) {
    written = 0;
    errno = ENOSPC;
    return -1;
  }
  const ssize_t n = ::write(fd, data, std::min<std::size_t>(size, 5));
  written += static_cast<std::size_t>(n);
  return n;
}
ssize_t NeverProgress(int, const void*, std::size_t) {
  return 0;
}

class InjectedWrite {
 public:
  explicit InjectedWrite(WriteCall call) : previous_(ReplaceWriteCallForTesting(call)) {}
  ~InjectedWrite() { ReplaceWriteCallForTesting(previous_); }

 private:
  WriteCall previous_;
};

class AtomicFileTest : public test::TempDirTest {
 protected:
  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".tmp-") != std::string::npos) names.push_back(name);
    }
    return names;
  }
};

TEST_F(AtomicFileTest, WritesPiecesInOrderAndReplacesTheOldContent) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "f", {View("abc"), View(""), View("defg")}, error))
      << error;
  EXPECT_EQ(ReadBytes(dir / "f"), "abcdefg");
  // The stamp a writer keeps is the one the file has once it is in place.
  FileStamp written;
  const std::string x = "x";
  ASSERT_TRUE(WriteFileAtomically(
      dir / "f", 1, [&x](std::size_t) { return View(x); }, error, {}, &written))
      << error;
  EXPECT_EQ(ReadBytes(dir / "f"), "x");
  EXPECT_EQ(StampOf(dir / "f"), written);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(AtomicFileTest, ShortWritesAreContinued) {
  InjectedWrite trickle(&TrickleWrite);
  std::string error;
  const std::string text(1000, 'q');
  ASSERT_TRUE(WriteFileAtomically(dir / "f", {View(text), View("end")}, error)) << error;
  EXPECT_EQ(ReadBytes(dir / "f"), text + "end");
}

TEST_F(AtomicFileTest, AFailedWriteKeepsThePreviousFileAndSaysWhy) {
  WriteBytes(dir / "store", "precious");
  std::string error;
  {
    InjectedWrite fail(&FailAfterSomeBytes);
    EXPECT_FALSE(WriteFileAtomically(dir / "store", {View(std::string(100, 'n'))}, error));
  }
  EXPECT_NE(error.find("store"), std::string::npos);
  EXPECT_NE(error.find("No space left"), std::string::npos) << error;
  {
    InjectedWrite stuck(&NeverProgress);  // must not spin for ever
    EXPECT_FALSE(WriteFileAtomically(dir / "store", {View("new")}, error));
  }
  EXPECT_EQ(ReadBytes(dir / "store"), "precious");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(AtomicFileTest, AFullDiskKeepsThePreviousFile) {
  WriteBytes(dir / "store", "precious");
  // A file size limit makes the kernel refuse writes just as a full disk does.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool written = WriteFileAtomically(dir / "store", {View(std::string(10000, 'n'))}, error);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(dir / "store"), "precious");
  EXPECT_TRUE(Leftovers().empty());
}

// Runs fn as an unprivileged user when the tests run as root, for whom
// permissions do not apply; returns fn's result.
bool AsUnprivilegedUser(const std::function<bool()>& fn) {
  if (::geteuid() != 0) return fn();
  const pid_t child = ::fork();
  if (child == 0) {
    const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && fn();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(AtomicFileTest, AFolderThatCannotBeWrittenIsReported) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "f", {View("x")}, error));
  EXPECT_NE(error.find("missing"), std::string::npos);

  fs::create_directory(dir / "ro");
  WriteBytes(dir / "ro" / "f", "old");
  fs::permissions(dir, fs::perms::all);  // reachable for the unprivileged user
  fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  const bool refused = AsUnprivilegedUser([&] {
    std::string why;
    return !WriteFileAtomically(dir / "ro" / "f", {View("new")}, why) &&
           why.find("Permission denied") != std::string::npos;
  });
  fs::permissions(dir / "ro", fs::perms::owner_all);
  EXPECT_TRUE(refused);
  EXPECT_EQ(ReadBytes(dir / "ro" / "f"), "old");
}

TEST_F(AtomicFileTest, RefusesToReplaceAnythingButARegularFile) {
  std::string error;
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(WriteFileAtomically(dir / "folder", {View("x")}, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  fs::create_symlink("pipe", dir / "link-to-pipe");
  EXPECT_FALSE(WriteFileAtomically(dir / "link-to-pipe", {View("x")}, error));
  EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(AtomicFileTest, FollowsASymbolicLinkAndKeepsPermissions) {
  WriteBytes(dir / "real", "old");
  fs::permissions(dir / "real", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real", dir / "link");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "link", {View("new")}, error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(ReadBytes(dir / "real"), "new");
  EXPECT_EQ(fs::status(dir / "real").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(AtomicFileTest, ConcurrentWritersNeverMixTheirContent) {
  const std::string a(200000, 'a');
  const std::string b(150000, 'b');
  WriteBytes(dir / "store", a);
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) {
        std::string error;
        if (!WriteFileAtomically(dir / "store", {View(t % 2 ? a : b)}, error)) ++failures;
        const std::string now = ReadBytes(dir / "store");
        if (now != a && now != b) ++failures;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_TRUE(Leftovers().empty());
}

}  // namespace
}  // namespace ms1
