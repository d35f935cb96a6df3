#include "device/page_model.h"

#include <cstring>

namespace ms1 {

ProfileRecord* PageState::Current() {
  if (selected < 0 || static_cast<std::size_t>(selected) >= profiles.size()) return nullptr;
  return profiles[static_cast<std::size_t>(selected)].get();
}

const ProfileRecord* PageState::Current() const {
  return const_cast<PageState*>(this)->Current();
}

std::unique_ptr<ProfileRecord> CopyProfile(const ProfileRecord& profile) {
  auto copy = std::make_unique<ProfileRecord>();
  std::memcpy(copy.get(), &profile, sizeof(ProfileRecord));
  return copy;
}

PageModel::PageModel() {
  state_.last_applied = std::make_unique<ProfileRecord>();
  std::memset(state_.last_applied.get(), 0, sizeof(ProfileRecord));
}

std::optional<PageModel::ApplyInput> PageModel::TakeApplyInput() {
  std::lock_guard lock(mutex_);
  const ProfileRecord* current = state_.Current();
  if (current == nullptr) return std::nullopt;
  ApplyInput input{CopyProfile(*current), CopyProfile(*state_.last_applied),
                   state_.force_full_apply};
  state_.force_full_apply = false;
  return input;
}

void PageModel::RecordApplied(const ProfileRecord& sent, const ApplyPlan& plan) {
  std::lock_guard lock(mutex_);
  std::memcpy(state_.last_applied.get(), &sent, sizeof(ProfileRecord));
  if (plan.sections.buttons) state_.macro_numbers = plan.macro_numbers;
}

void PageModel::MarkCurrentApplied() {
  std::lock_guard lock(mutex_);
  if (const ProfileRecord* current = state_.Current()) {
    std::memcpy(state_.last_applied.get(), current, sizeof(ProfileRecord));
  }
}

bool PageModel::SaveStore(ProfileStoreWriter& writer) {
  std::lock_guard store_lock(store_mutex_);
  ProfileList copy;
  int selected = 0;
  {
    std::lock_guard lock(mutex_);
    copy.reserve(state_.profiles.size());
    for (const auto& profile : state_.profiles) copy.push_back(CopyProfile(*profile));
    selected = state_.selected;
  }
  return writer.Save(copy, selected);
}

}  // namespace ms1
