#include "platform/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace ms1 {
namespace {

constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGINT, SIGHUP};

// One program, one pipe: the handler can reach nothing else.
int g_write_end = -1;
int g_read_end = -1;

extern "C" void WriteSignalByte(int signal_number) {
  const int saved_errno = errno;
  const auto byte = static_cast<unsigned char>(signal_number);
  // Non-blocking: a full pipe already holds a quit.
  [[maybe_unused]] const ssize_t written = ::write(g_write_end, &byte, 1);
  errno = saved_errno;
}

bool SetHandlers(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  bool ok = true;
  for (const int s : kQuitSignals) ok = ::sigaction(s, &action, nullptr) == 0 && ok;
  return ok;
}

}  // namespace

QuitSignals::QuitSignals() {
  if (g_read_end >= 0) return;  // another object already owns the signals
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::perror("quit signals: pipe");
    return;
  }
  g_read_end = ends[0];
  g_write_end = ends[1];
  if (!SetHandlers(WriteSignalByte)) {
    std::perror("quit signals: sigaction");
    SetHandlers(SIG_DFL);
    ::close(g_read_end);
    ::close(g_write_end);
    g_read_end = g_write_end = -1;
    return;
  }
  notifier_ = new QSocketNotifier(g_read_end, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { OnSignal(); });
}

QuitSignals::~QuitSignals() {
  if (notifier_ == nullptr) return;
  SetHandlers(SIG_DFL);
  delete notifier_;
  ::close(g_read_end);
  ::close(g_write_end);
  g_read_end = g_write_end = -1;
}

void QuitSignals::OnSignal() {
  unsigned char bytes[16];
  while (::read(g_read_end, bytes, sizeof bytes) > 0) {
  }
  if (quitting_ || !quit_) return;
  quitting_ = true;
  quit_();
}

}  // namespace ms1
