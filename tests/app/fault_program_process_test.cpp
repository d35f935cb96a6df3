// Faults injected while the real program runs on the virtual mouse: a link
// pulled and the simulator killed in the middle of an apply, reports refused
// and acknowledgements lost for a whole apply, a full disk, a read-only data
// folder and a store replaced by garbage. Every time the window keeps
// answering, the store on disk is whole (its old version or its new one,
// nothing left beside it), and the user learns what was not sent or not saved.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "../libs/mouse_holds.h"
#include "../libs/sample_profiles.h"
#include "libs/virtualmouse/sim_connection.h"
#include "model/macro_report.h"
#include "model/profile_store.h"
#include "model/unsent_edits_mark.h"
#include "program_session.h"
#include "support/fake_bluez.h"
#include "support/read_only_folders.h"
#include "support/scoped_env.h"
#include "support/test_paths.h"
#include "support/x_ping.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The apply button, from the main window's top left corner.
constexpr int kApplyX = 113;
constexpr int kApplyY = 541;
constexpr unsigned kProfileSeed = 7;
constexpr int kMacros = 2;

// A case of the faults below prints as its name.
template <class Case>
requires requires(const Case& c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class FaultedProgram : public test::DemoCopy {
 protected:
  void SetUp() override {
    DemoCopy::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ProfileList profiles;
    profiles.push_back(Profile());
    std::string error;
    ASSERT_TRUE(SaveProfileStore(folder() / "Data", profiles, 0, error)) << error;
  }

  static std::unique_ptr<ProfileRecord> Profile() {
    return test::SampleProfile(kProfileSeed, kMacros);
  }

  // Starts the program with these links plugged; its errors go to a file.
  void Start(const std::string& plugged) {
    errors_ = folder() / "errors.txt";
    PlugVirtualMouse(plugged);
    // The mouse stays silent until FirstApply lets the program hear it.
    StartProgram(ProgramInCopy(), {"MS1_VMOUSE_HEARTBEAT_MS=0"}, errors_);
    main_ = x_.FindVisible(MainTitle());
    ASSERT_FALSE(main_.empty()) << "the main window did not appear";
  }

  fs::path StorePath() const { return ProfileStorePath(folder() / "Data"); }
  std::string Store() const { return test::Slurp(StorePath()); }
  ino_t StoreInode() const {
    struct stat s {};
    return ::stat(StorePath().c_str(), &s) == 0 ? s.st_ino : 0;
  }
  // Anything but the two stores and the mark of unsent edits in their
  // folder: a temporary file left over.
  std::string Leftovers() const {
    std::string names;
    std::error_code ec;
    const fs::path mark = UnsentEditsMarkPath(folder() / "Data").filename();
    for (const auto& e : fs::directory_iterator(StorePath().parent_path(), ec)) {
      const std::string name = e.path().filename().string();
      if (name != "pro.data" && name != "macro.data" && name != mark) names += name + " ";
    }
    return names;
  }
  std::string Errors() const { return test::Slurp(errors_); }
  // What the program wrote to its errors since the last apply began.
  std::string ErrorsOfLastApply() const { return Errors().substr(errors_before_apply_); }

  // Reports the mouse has received in all; -1 when the simulator is gone.
  int ReportsReceived() {
    const json state = MouseState();
    if (!state.is_object()) return -1;
    return state["accepted_count"].get<int>() + state["refused_count"].get<int>();
  }
  // Waits until the program holds the link open again.
  bool Reopened(const std::string& link) {
    return test::PollFor([&] {
      const json state = MouseState();
      return state.is_object() && state["opened"][link].get<int>() > 0;
    });
  }

  bool Answers() { return test::AnswersPing(x_.Display(), main_); }
  // For failure messages: whether the program still runs, and what it wrote.
  std::string ProgramStatus() {
    siginfo_t info{};
    ::waitid(P_PID, static_cast<id_t>(program_), &info, WEXITED | WNOHANG | WNOWAIT);
    const bool ended = info.si_pid != 0;
    return std::string(ended ? "the program has ended" : "the program runs") + "; its errors:\n" +
           Errors();
  }

  // One press of the apply button, ended by the store write that closes
  // every apply. The window must answer while the reports go out.
  bool Apply() {
    errors_before_apply_ = Errors().size();
    const ino_t before = StoreInode();
    x_.Click(main_, kApplyX, kApplyY);
    EXPECT_TRUE(Answers()) << "the window did not answer during an apply; " << ProgramStatus();
    return test::PollFor([&] { return StoreInode() != before; });
  }
  // The first apply of the program's run. Over the receiver the program takes
  // the mouse as asleep until its first status, and then applies the loaded
  // profile by itself (it was never sent); a press before that would only save
  // the store, and that save would pass for the end of the apply. So the mouse
  // is heard only now, with its status sent often enough to keep the receiver
  // usable, and the first store write since the start ends that apply.
  bool FirstApply(const std::string& plugged) {
    if (plugged != "receiver") return ApplyUntilTheMouseHearsIt();
    errors_before_apply_ = Errors().size();
    const ino_t before = StoreInode();
    const int received = ReportsReceived();
    if (!Steer("heartbeat 100").value("ok", false)) return false;
    EXPECT_TRUE(Answers()) << "the window did not answer during an apply; " << ProgramStatus();
    return test::PollFor([&] { return StoreInode() != before; }) && ReportsReceived() != received;
  }
  // Applies until an apply reaches the mouse: one that starts before the
  // program has taken a link back into use reaches nothing.
  bool ApplyUntilTheMouseHearsIt() {
    for (int attempt = 0; attempt < 20; ++attempt) {
      const int received = ReportsReceived();
      if (!Apply()) return false;
      if (ReportsReceived() != received) return true;
    }
    return false;
  }

  std::string main_;
  fs::path errors_;
  std::size_t errors_before_apply_ = 0;
};

// The ping that every check of responsiveness rests on: a program whose
// interface thread stands still does not answer it, and answers again once
// it runs (the limit there only keeps a busy machine from failing the test).
TEST_F(FaultedProgram, AStoppedProgramDoesNotAnswerThePing) {
  Start("wired");
  if (HasFatalFailure()) return;
  EXPECT_TRUE(Answers());
  ::kill(program_, SIGSTOP);
  EXPECT_FALSE(Answers());
  ::kill(program_, SIGCONT);
  EXPECT_TRUE(test::AnswersPing(x_.Display(), main_, std::chrono::seconds(30)));
}

// Logout, shutdown and kill end the program the way Exit does: the window
// closes down and saves, and the program exits normally. What the mouse did
// not take before the first of them, it gets when the program starts next.
TEST_F(FaultedProgram, TheQuitSignalsEndItTheWayExitDoes) {
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    Start("wired");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Answers());
    const auto mouse_holds_the_profile = [&] {
      return test::MissingFromMouse(MouseState(), *Profile()).empty();
    };
    if (signal_number == SIGTERM) {
      ASSERT_TRUE(Steer("refuse 1000").value("ok", false));
      ASSERT_TRUE(Apply());
      ASSERT_FALSE(mouse_holds_the_profile());
    } else {
      EXPECT_TRUE(test::PollFor(mouse_holds_the_profile))
          << "what the last run left unsent was not sent";
    }
    ::kill(program_, signal_number);
    EXPECT_EQ(ProgramExit(), 0) << ::strsignal(signal_number);
    EXPECT_EQ(Leftovers(), "");
    ASSERT_TRUE(Steer("refuse 0").value("ok", false)) << "the mouse outlives the program";
  }
}

// Wired units (reports and macro chunks) an apply of the profile sends before
// the first chunk of its first macro.
int WiredReportsBeforeTheFirstMacro() {
  auto blank = std::make_unique<ProfileRecord>();
  std::memset(blank.get(), 0, sizeof(ProfileRecord));
  const ApplyPlan plan = PlanApply(*test::SampleProfile(kProfileSeed, kMacros), *blank, true);
  int count = 0;
  for (const Report& report : plan.reports) {
    if (report[0] == command::kMacro) break;
    ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------
// The mouse fails during an apply. The apply ends, the user is told that
// reports were not delivered, and once the mouse is back the next apply
// brings it to the whole profile again.

struct DeviceFault {
  std::string name;
  std::string plugged;
  bool first_a_good_apply;  // the fault strikes a later, smaller apply
  std::string fault;        // staged before the apply
  std::string recovery;     // a request, "restart", or nothing
  std::string reopens;      // the link the program must open again after it
};

class DeviceFaults : public FaultedProgram, public ::testing::WithParamInterface<DeviceFault> {
 protected:
  void Recover(const DeviceFault& c, const test::ProcessExitWatch& simulator) {
    if (c.recovery == "restart") {
      // The killed simulator holds the folder's lock until it has exited.
      ASSERT_TRUE(simulator.WaitForExit(test::kSimulatorExitLimitMs));
      test::ScopedEnv env;
      env.Set("MS1_VMOUSE_PLUGGED", c.plugged).Set("MS1_VMOUSE_HEARTBEAT_MS", "100");
      ASSERT_TRUE(vmouse::StartSimulator(test::paths::VirtualMouseSimulatorFile(), VmouseDir()));
    } else {
      ASSERT_TRUE(Steer(c.recovery).value("ok", false)) << c.recovery;
    }
    if (!c.reopens.empty()) {
      ASSERT_TRUE(Reopened(c.reopens)) << "the program did not reopen";
    }
    // Without a mouse the window went to the task bar; the user brings it back.
    if (x_.Iconic(main_)) {
      EXPECT_EQ(StartSecondCopy(ProgramInCopy()), 1);
      ASSERT_TRUE(test::PollFor([&] { return !x_.Iconic(main_); })) << "the window stayed down";
    }
  }
};

TEST_P(DeviceFaults, TheApplyEndsTheUserIsToldAndTheNextApplyMendsTheMouse) {
  const DeviceFault& c = GetParam();
  Start(c.plugged);
  if (HasFatalFailure()) return;
  const std::string stored = Store();
  if (c.first_a_good_apply) {
    ASSERT_TRUE(FirstApply(c.plugged));
    ASSERT_EQ(test::MissingFromMouse(MouseState(), *Profile()), "");
  }

  const test::ProcessExitWatch simulator(Steer("ping").value("pid", 0));
  ASSERT_TRUE(Steer(c.fault).value("ok", false)) << c.fault;
  ASSERT_TRUE(c.first_a_good_apply ? ApplyUntilTheMouseHearsIt() : FirstApply(c.plugged))
      << "the apply did not end";
  EXPECT_TRUE(Answers()) << "the window did not answer after the fault";
  EXPECT_NE(ErrorsOfLastApply().find("reports not delivered"), std::string::npos)
      << "the user was not told: " << ErrorsOfLastApply();
  EXPECT_EQ(Store(), stored);
  EXPECT_EQ(Leftovers(), "");
  if (c.recovery.empty()) return;

  Recover(c, simulator);
  ASSERT_TRUE(ApplyUntilTheMouseHearsIt()) << ProgramStatus();
  EXPECT_EQ(ErrorsOfLastApply().find("reports not delivered"), std::string::npos)
      << ErrorsOfLastApply();
  EXPECT_EQ(test::MissingFromMouse(MouseState(), *Profile()), "");
  EXPECT_EQ(Store(), stored);
  EXPECT_TRUE(Answers());
}

INSTANTIATE_TEST_SUITE_P(
    Program, DeviceFaults,
    ::testing::Values(
        // Two chunks of the first macro arrive, the third finds no cable.
        DeviceFault{
            "CablePulledBetweenAMacrosChunks", "wired", false,
            "after " + std::to_string(WiredReportsBeforeTheFirstMacro() + 2) + " unplug wired",
            "plug wired", "wired"},
        DeviceFault{"ReceiverPulledMidApply", "receiver", false, "after 3 unplug receiver",
                    "plug receiver", "receiver"},
        DeviceFault{"SimulatorKilledMidApplyAndRestarted", "wired", false, "after 5 die", "restart",
                    "wired"},
        DeviceFault{"EveryReportRefused", "wired", false, "refuse 1000", "refuse 0", ""},
        // Ten unanswered attempts per report: the two mode-select reports of an
        // apply without edits are enough to show it.
        DeviceFault{"EveryAcknowledgementLost", "receiver", true, "lose-acks 1000", "", ""}),
    [](const ::testing::TestParamInfo<DeviceFault>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Quitting in the middle of an apply. Whatever the link waits for then (its
// pauses, retries of reports the mouse never acknowledges, BlueZ's answer to
// a write), the program ends at once.

struct QuitMidApply {
  std::string plugged;
  std::string fault;  // staged first, if any
  std::string start;  // the request that starts the apply; none: the apply button
  int reports;        // reaching the mouse before the quit
};

void PrintTo(const QuitMidApply& c, std::ostream* out) {
  *out << c.plugged;
}

class QuitDuringAnApply : public FaultedProgram,
                          public ::testing::WithParamInterface<QuitMidApply> {};

TEST_P(QuitDuringAnApply, TheProgramEndsAtOnce) {
  const QuitMidApply& c = GetParam();
  test::ScopedEnv env;
  std::optional<test::FakeBluez> bluez;
  if (c.plugged == "ble") {  // the fake BlueZ needs the simulator running
    env.Set("MS1_VMOUSE_DIR", VmouseDir()).Set("MS1_VMOUSE_PLUGGED", c.plugged);
    ASSERT_TRUE(vmouse::StartSimulator(test::paths::VirtualMouseSimulatorFile(), VmouseDir()));
    ASSERT_TRUE(bluez.emplace().ready());
  }
  Start(c.plugged);
  if (HasFatalFailure()) return;
  const int before = ReportsReceived();
  if (!c.fault.empty()) {
    ASSERT_TRUE(Steer(c.fault).value("ok", false)) << c.fault;
  }
  if (c.start.empty()) {
    x_.Click(main_, kApplyX, kApplyY);
  } else {
    ASSERT_TRUE(Steer(c.start).value("ok", false)) << c.start;
  }
  ASSERT_TRUE(test::PollFor([&] { return ReportsReceived() >= before + c.reports; }));

  const auto pressed = std::chrono::steady_clock::now();
  PressExitButton(main_);
  EXPECT_EQ(ProgramExit(), 0) << Errors();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - pressed);
  // It took 5 s and more: the receiver retried on, the bus thread waited for BlueZ.
  EXPECT_LT(took.count(), 2500) << "ms to exit";
}

INSTANTIATE_TEST_SUITE_P(Program, QuitDuringAnApply,
                         ::testing::Values(QuitMidApply{"wired", "", "", 3},
                                           QuitMidApply{"receiver", "lose-acks 1000",
                                                        "heartbeat 100", 2},
                                           QuitMidApply{"ble", "after 2 hang", "", 2}),
                         [](const auto& info) { return info.param.plugged; });

// ---------------------------------------------------------------------------
// The store cannot be written, or was damaged behind the program's back, when
// an apply saves it. The file stays whole, a failed save is shown to the
// user, and once the fault is gone the next save succeeds. A store that is
// not the program's own version is kept aside before the save, and the user
// told.

class StoreFaults;

struct StoreFault {
  std::string name;
  // Brings the fault about; false when this machine cannot.
  std::function<bool(StoreFaults&)> inflict;
  std::function<void(StoreFaults&)> undo;
  bool save_fails;
  std::string kept_as;  // the name the store was kept aside under, if any
};

class StoreFaults : public FaultedProgram, public ::testing::WithParamInterface<StoreFault> {
 public:
  // A file-size limit below the store's size: the write fails half-way.
  bool FillTheDisk() {
    rlimit limit{};
    ::prlimit(program_, RLIMIT_FSIZE, nullptr, &limit);
    unlimited_ = limit;
    limit.rlim_cur = Store().size() / 2;
    return ::prlimit(program_, RLIMIT_FSIZE, &limit, nullptr) == 0;
  }
  void FreeTheDisk() { ::prlimit(program_, RLIMIT_FSIZE, &unlimited_, nullptr); }

  bool MakeTheDataFolderReadOnly() {
    read_only_.emplace(std::vector<fs::path>{folder() / "Data", StorePath().parent_path()});
    if (!read_only_->Works())
      why_not_ = "cannot make a folder read-only here: " + read_only_->Why();
    return read_only_->Works();
  }
  void MakeTheDataFolderWritable() { read_only_.reset(); }

  bool DamageTheStore() {
    std::ofstream(StorePath(), std::ios::binary | std::ios::trunc) << std::string(1000, '\xA5');
    return true;
  }

  std::string why_not_;

 private:
  rlimit unlimited_{};
  std::optional<test::ReadOnlyFolders> read_only_;
};

TEST_P(StoreFaults, TheStoreStaysWholeAndAFailedSaveIsShown) {
  const StoreFault& c = GetParam();
  Start("wired");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(Apply());
  const std::string saved = Store();  // the program's own version

  if (!c.inflict(*this)) GTEST_SKIP() << why_not_;
  const ino_t inode = StoreInode();
  x_.Click(main_, kApplyX, kApplyY);
  std::string warning;
  if (c.save_fails) {
    warning = x_.FindVisible(WarningTitle());
    EXPECT_FALSE(warning.empty()) << "the failed save was not shown";
    EXPECT_NE(Errors().find("profile store not saved"), std::string::npos) << Errors();
  } else {
    ASSERT_TRUE(test::PollFor([&] { return StoreInode() != inode; })) << "no save";
    if (!c.kept_as.empty()) {
      warning = x_.FindVisible(WarningTitle());
      EXPECT_FALSE(warning.empty()) << "the kept store was not shown";
    }
  }
  EXPECT_TRUE(Answers()) << "the window did not answer after the fault";
  // Old or new, never a mixture; here both hold the same profiles.
  EXPECT_EQ(Store(), saved);
  const std::string kept = c.kept_as.empty() ? "" : c.kept_as + " ";
  EXPECT_EQ(Leftovers(), kept);

  c.undo(*this);
  if (!warning.empty()) {
    PressWarningOk(warning);
    ASSERT_TRUE(test::PollFor([&] { return x_.CountVisible(WarningTitle()) == 0; }));
  }
  ASSERT_TRUE(Apply()) << "the store was not saved once the fault was gone";
  EXPECT_EQ(Store(), saved);
  EXPECT_EQ(Leftovers(), kept);
}

INSTANTIATE_TEST_SUITE_P(
    Program, StoreFaults,
    ::testing::Values(StoreFault{"DiskFull", &StoreFaults::FillTheDisk, &StoreFaults::FreeTheDisk,
                                 true, ""},
                      StoreFault{"DataFolderReadOnly", &StoreFaults::MakeTheDataFolderReadOnly,
                                 &StoreFaults::MakeTheDataFolderWritable, true, ""},
                      StoreFault{"StoreReplacedByGarbage", &StoreFaults::DamageTheStore,
                                 [](StoreFaults&) {}, false, "pro.data.changed"}),
    [](const ::testing::TestParamInfo<StoreFault>& info) { return info.param.name; });

}  // namespace
}  // namespace ms1
