#include "device/bluetooth/bus_thread.h"

#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdint>
#include <future>

namespace ms1 {

namespace {

// sd_bus_get_timeout gives an absolute CLOCK_MONOTONIC time in microseconds,
// or UINT64_MAX for none; poll wants milliseconds from now.
int PollTimeout(sd_bus* bus) {
  uint64_t until = UINT64_MAX;
  if (sd_bus_get_timeout(bus, &until) < 0 || until == UINT64_MAX) return -1;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t now_us =
      static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
  if (until <= now_us) return 0;
  return static_cast<int>((until - now_us + 999) / 1000);
}

void DrainWake(int fd) {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(fd, &count, sizeof count);
}

}  // namespace

BusThread::~BusThread() {
  Stop();
}

bool BusThread::Start(Work setup) {
  if (!wake_.Valid()) return false;
  std::promise<bool> opened;
  std::future<bool> answer = opened.get_future();
  {
    std::lock_guard lock(mutex_);
    if (running_ || stopping_) return false;
    running_ = true;
  }
  thread_ = std::thread([this, &opened, setup = std::move(setup)] {
    pthread_setname_np(pthread_self(), "ms1-bluez");
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0) {
      opened.set_value(false);
      return;
    }
    {
      std::lock_guard lock(mutex_);
      bus_socket_ = sd_bus_get_fd(bus);
    }
    setup(bus);
    opened.set_value(true);
    Loop(bus);
    {
      std::lock_guard lock(mutex_);
      bus_socket_ = -1;
    }
    sd_bus_flush_close_unref(bus);
  });
  if (answer.get()) return true;
  thread_.join();
  std::lock_guard lock(mutex_);
  running_ = false;
  return false;
}

bool BusThread::Run(Work work) {
  bool done = false;
  std::unique_lock lock(mutex_);
  if (!running_ || stopping_) return false;
  queue_.push_back({std::move(work), &done});
  wake_.Signal();
  // A job dropped at Stop is released with `done` still false.
  finished_.wait(lock, [&] { return done || !running_; });
  return done;
}

void BusThread::Post(Work work) {
  std::lock_guard lock(mutex_);
  if (!running_ || stopping_) return;
  queue_.push_back({std::move(work), nullptr});
  wake_.Signal();
}

void BusThread::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    stopping_ = true;
    // The connection is the bus thread's, but its socket may be shut down from
    // here (the thread forgets it under this lock before closing it): a call
    // waiting for its answer, up to its timeout, fails at once.
    if (bus_socket_ >= 0) ::shutdown(bus_socket_, SHUT_RDWR);
  }
  wake_.Signal();
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  running_ = false;
  queue_.clear();
  finished_.notify_all();
}

bool BusThread::RunQueued(sd_bus* bus) {
  std::deque<Job> jobs;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    jobs.swap(queue_);
  }
  for (Job& job : jobs) {
    job.work(bus);
    if (job.done == nullptr) continue;
    std::lock_guard lock(mutex_);
    *job.done = true;
    finished_.notify_all();
  }
  return !jobs.empty();
}

void BusThread::Loop(sd_bus* bus) {
  for (;;) {
    int r = 0;
    while ((r = sd_bus_process(bus, nullptr)) > 0) {
    }
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
    // A call made by a job may have queued messages: process them before sleeping.
    if (RunQueued(bus)) continue;
    if (r < 0) {
      // The bus went away: nothing more will come, but callers still get answers.
      pollfd wake = wake_.PollEntry();
      ::poll(&wake, 1, -1);
      DrainWake(wake.fd);
      continue;
    }
    pollfd fds[2] = {{sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0},
                     wake_.PollEntry()};
    if (::poll(fds, 2, PollTimeout(bus)) > 0 && (fds[1].revents & POLLIN)) DrainWake(fds[1].fd);
  }
}

}  // namespace ms1
