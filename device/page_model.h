// The device page's configuration state: the profile list, the selected index
// (which names the current profile), the macro list, the last-applied copy and
// the force-full-apply flag. The interface thread edits it while the worker
// applies it, so every access goes through the model's lock.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "model/apply_plan.h"
#include "model/profile_store.h"
#include "model/records.h"
#include "model/store_writer.h"

namespace ms1 {

// Of an apply's polling-rate reports, those a link took.
enum class PollingDelivery { kAll, kNone, kSome };

// Settings the mouse changes with its own buttons and reports as events.
enum class ReportedSetting { kDpiLevel, kPollingRate, kActiveMode };

struct PageState {
  ProfileList profiles;
  int selected = 0;
  MacroList macros;
  ProfileSlot last_applied;  // the bytes last sent, packed between uses; zero-filled at start
  bool force_full_apply = false;
  MacroNumbering macro_numbers{};  // rebuilt whenever the buttons section is sent

  // The profile list entry at the selected index; null when there is none.
  ProfileRecord* Current();
  const ProfileRecord* Current() const;
};

std::unique_ptr<ProfileRecord> CopyProfile(const ProfileRecord& profile);

class PageModel {
 public:
  PageModel();

  // Runs `f(PageState&)` under the lock and returns its result. `f` must not
  // keep references into the state after it returns. Afterwards every
  // profile but the current one, and the diff base, are packed again,
  // whatever `f` touched.
  template <typename F>
  decltype(auto) With(F&& f) {
    std::lock_guard lock(mutex_);
    const PackOthersOnExit pack{state_};
    return f(state_);
  }
  template <typename F>
  decltype(auto) With(F&& f) const {
    std::lock_guard lock(mutex_);
    return f(static_cast<const PageState&>(state_));
  }

  // What one apply works on, copied under one lock so that edits made while
  // it sends cannot tear it.
  struct ApplyInput {
    std::unique_ptr<ProfileRecord> current;
    std::unique_ptr<ProfileRecord> last_applied;
    bool force_full = false;
  };
  // Takes the copies and clears the force flag; empty when there is no
  // current profile (the flag then stays as it is).
  std::optional<ApplyInput> TakeApplyInput();

  // The apply is about to hand on report `index` of its plan: a setting the
  // mouse reports from now on may have changed before or after that report.
  void RecordSending(std::size_t index);

  // After an apply whose every report was delivered: the profile as it was
  // sent becomes the diff base, so an edit made during the apply is still
  // found different by the next one. What the mouse reported meanwhile counts
  // as held only when no report handed on after it carried that setting;
  // otherwise the apply put the old value back in some mode records, the diff
  // base marks the setting unknown, and the result is true: one more apply
  // must send the reported one.
  // `polling`: how many of the plan's polling-rate reports a link took
  // (Bluetooth LE takes none). With none, the mouse still has the rate sent
  // before (none known after a forced apply); with some, no rate is known.
  // Either way the next link that takes one is sent the profile's.
  [[nodiscard]] bool RecordApplied(const ProfileRecord& sent, const ApplyPlan& plan,
                                   PollingDelivery polling = PollingDelivery::kAll);

  // After an apply in which some report was not delivered: nothing counts as
  // sent, and the next apply, over whatever link, sends everything.
  void RecordApplyFailed();

  // A setting the mouse changed with its own buttons goes into the current
  // profile and the diff base alike: the mouse holds it already, so no apply
  // sends it back, while edits not yet sent stay unsent. False when there is
  // no current profile.
  bool RecordReported(ReportedSetting setting, int32_t value);

  // True when the next apply would send more than the two mode-select
  // reports, or would select another mode.
  bool HasUnsentEdits() const;
  // As HasUnsentEdits, and true while an apply runs: what it leaves unsent is
  // known only at its end. For deciding whether a link that has just become
  // usable needs one more apply.
  bool MayHaveUnsentEdits() const;

  // Saves the list and the selected index. Saves from any thread are
  // serialised, and each writes the state as it was when its turn came, so
  // an older copy never overwrites a newer one. Each also tells the writer
  // whether edits asked to be sent may still be unsent (MarkUnsentEdits).
  bool SaveStore(ProfileStoreWriter& writer);
  // As SaveStore, but only when the list or the index differ from what the
  // last save wrote, or what was loaded (RememberLoaded). True when nothing
  // needed writing or the write succeeded.
  bool SaveStoreIfChanged(ProfileStoreWriter& writer);
  // The list and index now in the model are what the store on disk holds;
  // `unsent_marked`: the last run left edits the mouse may lack.
  void RememberLoaded(bool unsent_marked = false);
  // An apply was asked for: until one leaves nothing unsent, saves mark the
  // edits unsent. The profile loaded at start is no edit: it counts only if
  // the last run marked it.
  void NoteApplyWanted();

 private:
  // Under store_mutex_.
  void MarkUnsentEdits(ProfileStoreWriter& writer);
  struct PackOthersOnExit {
    PageState& state;
    ~PackOthersOnExit() {
      PackProfilesExcept(state.profiles, state.selected);
      state.last_applied.Pack();
    }
  };
  struct Reported {
    ReportedSetting setting;
    int32_t value;
    std::size_t first_later_report;  // the report in flight counts as later
  };

  // Copies the list and the index under the lock, with their fingerprint.
  struct StoreCopy;
  StoreCopy CopyForStore();

  mutable std::mutex mutex_;
  std::mutex store_mutex_;  // taken before mutex_, never the other way round
  std::optional<std::size_t> saved_fingerprint_;  // under store_mutex_
  bool apply_wanted_ = false;                     // under mutex_
  PageState state_;
  bool applying_ = false;                     // between TakeApplyInput and its outcome
  std::size_t sending_ = 0;                   // the report the apply hands on now
  std::vector<Reported> reported_in_apply_;  // what the mouse reported meanwhile
};

}  // namespace ms1
