#include "device/page_model.h"

#include <array>
#include <cstring>
#include <functional>
#include <string_view>

#include "model/profile.h"
#include "model/protocol/framing.h"

namespace ms1 {

ProfileRecord* PageState::Current() {
  if (selected < 0 || static_cast<std::size_t>(selected) >= profiles.size()) return nullptr;
  return profiles[static_cast<std::size_t>(selected)].get();
}

const ProfileRecord* PageState::Current() const {
  return const_cast<PageState*>(this)->Current();
}

namespace {

void WriteReported(ProfileRecord& profile, ReportedSetting setting, int32_t value) {
  switch (setting) {
    case ReportedSetting::kDpiLevel: SetSharedSetting(profile, SharedSetting::kDpiLevel, value); break;
    case ReportedSetting::kPollingRate:
      SetSharedSetting(profile, SharedSetting::kPollingRate, value);
      break;
    case ReportedSetting::kActiveMode: profile.active_mode = value; break;
  }
}

// A value no profile has: the diff base's mark of a setting whose value on
// the mouse is not known, so that any value of the profile is sent again.
constexpr int32_t kUnknownValue = -1;

// Which reports carry a setting the mouse also changes with its own buttons.
bool Carries(const Report& report, ReportedSetting setting) {
  switch (setting) {
    case ReportedSetting::kDpiLevel: return report[frame::kCommand] == command::kSettings;
    case ReportedSetting::kPollingRate: return report[frame::kCommand] == command::kPollingRate;
    case ReportedSetting::kActiveMode: return report[frame::kCommand] == command::kModeSelect;
  }
  return false;
}

bool CarriedFrom(const std::vector<Report>& reports, std::size_t first, ReportedSetting setting) {
  for (std::size_t i = first; i < reports.size(); ++i) {
    if (Carries(reports[i], setting)) return true;
  }
  return false;
}

// Tells whether two states of the store differ, without keeping a copy of
// megabytes: every record's bytes and the selected index.
std::size_t StoreFingerprint(const ProfileList& profiles, int selected) {
  std::hash<std::string_view> hash;
  std::size_t fingerprint = std::hash<int>{}(selected) ^ profiles.size();
  auto record = std::make_unique<ProfileRecord>();
  for (const ProfileSlot& slot : profiles) {
    slot.CopyTo(*record);
    const std::string_view bytes(reinterpret_cast<const char*>(record.get()), sizeof(ProfileRecord));
    fingerprint = fingerprint * 1099511628211u ^ hash(bytes);
  }
  return fingerprint;
}

}  // namespace

std::unique_ptr<ProfileRecord> CopyProfile(const ProfileRecord& profile) {
  auto copy = std::make_unique<ProfileRecord>();
  std::memcpy(copy.get(), &profile, sizeof(ProfileRecord));
  return copy;
}

PageModel::PageModel() {
  state_.last_applied = ProfileSlot::Zeroed();
}

std::optional<PageModel::ApplyInput> PageModel::TakeApplyInput() {
  std::lock_guard lock(mutex_);
  const ProfileRecord* current = state_.Current();
  if (current == nullptr) return std::nullopt;
  ApplyInput input{CopyProfile(*current), state_.last_applied.Copy(),
                   state_.force_full_apply};
  state_.force_full_apply = false;
  applying_ = true;
  sending_ = 0;
  reported_in_apply_.clear();
  return input;
}

void PageModel::RecordSending(std::size_t index) {
  std::lock_guard lock(mutex_);
  sending_ = index;
}

bool PageModel::RecordApplied(const ProfileRecord& sent, const ApplyPlan& plan,
                              PollingDelivery polling) {
  std::lock_guard lock(mutex_);
  std::array<int32_t, kModeCount> kept_rates{};
  for (int k = 0; k < kModeCount; ++k) kept_rates[k] = state_.last_applied->modes[k].polling_rate;
  std::memcpy(state_.last_applied.get(), &sent, sizeof(ProfileRecord));
  if (polling != PollingDelivery::kAll) {
    // After a forced apply, or one whose rate went only part of the way,
    // nothing says which rate the mouse has: no rate matches, so the next
    // link that takes one is sent the profile's.
    const bool known = polling == PollingDelivery::kNone && !plan.forced;
    for (int k = 0; k < kModeCount; ++k) {
      state_.last_applied->modes[k].polling_rate = known ? kept_rates[k] : kUnknownValue;
    }
  }
  // Reported values are taken in order, so the latest of each setting decides.
  // One that a later report carried may still be held by mode records sent
  // before it: the mouse's value is not known.
  bool overwritten = false;
  for (const Reported& r : reported_in_apply_) {
    const bool carried = CarriedFrom(plan.reports, r.first_later_report, r.setting);
    overwritten = overwritten || carried;
    WriteReported(*state_.last_applied, r.setting, carried ? kUnknownValue : r.value);
  }
  state_.last_applied.Pack();
  reported_in_apply_.clear();
  applying_ = false;
  if (plan.sections.buttons) state_.macro_numbers = plan.macro_numbers;
  return overwritten;
}

void PageModel::RecordApplyFailed() {
  std::lock_guard lock(mutex_);
  state_.force_full_apply = true;
  reported_in_apply_.clear();
  applying_ = false;
}

bool PageModel::RecordReported(ReportedSetting setting, int32_t value) {
  std::lock_guard lock(mutex_);
  ProfileRecord* current = state_.Current();
  if (current == nullptr) return false;
  WriteReported(*current, setting, value);
  WriteReported(*state_.last_applied, setting, value);
  state_.last_applied.Pack();
  if (applying_) reported_in_apply_.push_back({setting, value, sending_});
  return true;
}

bool PageModel::MayHaveUnsentEdits() const {
  {
    std::lock_guard lock(mutex_);
    if (applying_) return true;
  }
  return HasUnsentEdits();
}

bool PageModel::HasUnsentEdits() const {
  std::lock_guard lock(mutex_);
  const ProfileRecord* current = state_.Current();
  if (current == nullptr) return false;
  if (state_.force_full_apply) return true;
  const std::unique_ptr<ProfileRecord> last_applied = state_.last_applied.Copy();
  return current->active_mode != last_applied->active_mode ||
         DiffProfiles(*current, *last_applied) != SectionFlags{};
}

struct PageModel::StoreCopy {
  ProfileList profiles;
  int selected = 0;
  std::size_t fingerprint = 0;
};

PageModel::StoreCopy PageModel::CopyForStore() {
  StoreCopy copy;
  {
    std::lock_guard lock(mutex_);
    copy.profiles = state_.profiles;  // packed profiles stay packed: a few kilobytes each
    copy.selected = state_.selected;
  }
  copy.fingerprint = StoreFingerprint(copy.profiles, copy.selected);
  return copy;
}

bool PageModel::SaveStore(ProfileStoreWriter& writer) {
  std::lock_guard store_lock(store_mutex_);
  const StoreCopy copy = CopyForStore();
  const bool saved = writer.Save(copy.profiles, copy.selected);
  saved_fingerprint_ = saved ? std::optional(copy.fingerprint) : std::nullopt;
  MarkUnsentEdits(writer);
  return saved;
}

bool PageModel::SaveStoreIfChanged(ProfileStoreWriter& writer) {
  std::lock_guard store_lock(store_mutex_);
  const StoreCopy copy = CopyForStore();
  bool saved = true;
  if (saved_fingerprint_ != copy.fingerprint) {
    saved = writer.Save(copy.profiles, copy.selected);
    saved_fingerprint_ = saved ? std::optional(copy.fingerprint) : std::nullopt;
  }
  MarkUnsentEdits(writer);
  return saved;
}

void PageModel::MarkUnsentEdits(ProfileStoreWriter& writer) {
  const bool unsent = MayHaveUnsentEdits();
  bool wanted = false;
  {
    std::lock_guard lock(mutex_);
    if (!unsent) apply_wanted_ = false;
    wanted = apply_wanted_;
  }
  writer.MarkUnsentEdits(wanted);
}

void PageModel::RememberLoaded(bool unsent_marked) {
  std::lock_guard store_lock(store_mutex_);
  saved_fingerprint_ = CopyForStore().fingerprint;
  std::lock_guard lock(mutex_);
  apply_wanted_ = unsent_marked;
}

void PageModel::NoteApplyWanted() {
  std::lock_guard lock(mutex_);
  apply_wanted_ = true;
}

}  // namespace ms1
