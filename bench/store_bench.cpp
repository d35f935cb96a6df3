// Saving and loading a store of 200 profiles (about 33 MB), each compared in
// the same run with writing or reading the same bytes by plain write/read
// calls. The "ratio" counter is store time / plain time; the aim is <= 1.5.
// Run from a folder on the disk of interest, or set TMPDIR.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "model/profile.h"
#include "model/profile_store.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kProfiles = 200;

struct Fixture {
  fs::path data = fs::temp_directory_path() / ("ms1-store-bench-" + std::to_string(::getpid()));
  fs::path plain = data / "plain.data";
  ProfileList profiles;
  int32_t selected = 7;

  Fixture() {
    fs::create_directories(data);
    for (int i = 0; i < kProfiles; ++i) {
      profiles.push_back(
          CreateProfile(u"Profile " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26))));
    }
  }
  ~Fixture() {
    std::error_code ignored;  // a destructor must not throw
    fs::remove_all(data, ignored);
  }

  // The same bytes as the store, by plain calls: one write per record.
  void PlainWrite(bool flush) const {
    const int fd = ::open(plain.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = ::write(fd, &selected, sizeof selected) == sizeof selected;
    for (const auto& p : profiles)
      ok = ok && ::write(fd, p.get(), kProfileRecordSize) == kProfileRecordSize;
    if (flush) ::fsync(fd);
    ::close(fd);
    if (!ok) std::abort();
  }

  void PlainRead(std::vector<char>& buffer) const {
    const int fd = ::open(plain.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    for (ssize_t n; done < buffer.size() &&
                    (n = ::read(fd, buffer.data() + done, buffer.size() - done)) > 0;) {
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done != buffer.size()) std::abort();
  }
};

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// flush: whether the plain writes also fsync (the store save always does).
void BM_SaveProfileStore(benchmark::State& state) {
  const bool flush = state.range(0) != 0;
  Fixture f;
  double store_time = 0, plain_time = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    f.PlainWrite(flush);
    plain_time += Seconds(start);
    start = Clock::now();
    std::string error;
    if (!SaveProfileStore(f.data, f.profiles, f.selected, error))
      state.SkipWithError(error.c_str());
    const double t = Seconds(start);
    store_time += t;
    state.SetIterationTime(t);
  }
  state.counters["ratio"] = store_time / plain_time;
  state.counters["plain_ms"] = 1000 * plain_time / static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(4 + kProfiles * kProfileRecordSize));
}
BENCHMARK(BM_SaveProfileStore)
    ->ArgName("plain_fsync")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_LoadProfileStore(benchmark::State& state) {
  Fixture f;
  std::string error;
  if (!SaveProfileStore(f.data, f.profiles, f.selected, error)) state.SkipWithError(error.c_str());
  f.PlainWrite(false);
  std::vector<char> buffer(4 + kProfiles * kProfileRecordSize);
  double store_time = 0, plain_time = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    f.PlainRead(buffer);
    plain_time += Seconds(start);
    ProfileList loaded;
    int32_t selected = 0;
    start = Clock::now();
    LoadProfileStore(f.data, loaded, selected, u"Profile");
    const double t = Seconds(start);
    store_time += t;
    state.SetIterationTime(t);
    if (loaded.size() != kProfiles) state.SkipWithError("store not loaded whole");
  }
  state.counters["ratio"] = store_time / plain_time;
  state.counters["plain_ms"] = 1000 * plain_time / static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(buffer.size()));
}
BENCHMARK(BM_LoadProfileStore)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ms1
