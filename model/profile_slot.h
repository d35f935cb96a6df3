// One entry of the profile list. It behaves as an owning pointer to the
// record, but a profile not in use can be packed (zero_runs.h): the record is
// then rebuilt from its packed bytes on the first access through the slot.
// The page keeps every profile but the current one packed, so twenty profiles
// hold a few tens of kilobytes instead of 3.3 MB.
//
// An access may rebuild the record even through a const slot, so a slot is
// not for concurrent use, not even for reading: the page model's lock guards
// the list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/records.h"

namespace ms1 {

class ProfileSlot {
 public:
  ProfileSlot() = default;
  // Implicit, so that a list of slots takes new records as a list of owning
  // pointers does.
  ProfileSlot(std::unique_ptr<ProfileRecord> record) : record_(std::move(record)) {}  // NOLINT
  ProfileSlot(const ProfileSlot& other);
  ProfileSlot& operator=(const ProfileSlot& other);
  ProfileSlot(ProfileSlot&&) noexcept = default;
  ProfileSlot& operator=(ProfileSlot&&) noexcept = default;
  ~ProfileSlot() = default;

  // A slot holding a packed copy of record.
  static ProfileSlot PackedCopyOf(const ProfileRecord& record);
  // A slot holding a packed zero-filled record.
  static ProfileSlot Zeroed();

  // The record, rebuilt first when packed; null for an empty slot. The
  // address stays valid until the slot is packed, changed or destroyed.
  ProfileRecord* get() const;
  ProfileRecord& operator*() const { return *get(); }
  ProfileRecord* operator->() const { return get(); }
  explicit operator bool() const { return record_ != nullptr || !packed_.empty(); }

  bool IsPacked() const { return record_ == nullptr && !packed_.empty(); }

  // Frees the record and keeps its packed bytes. Addresses taken from get()
  // become invalid.
  void Pack();

  // The profile's name, read without rebuilding a packed record: the list
  // shows every name, but only the current profile is in use.
  std::u16string Name() const;

  // The record's bytes, without rebuilding the slot's own copy. The slot
  // must not be empty.
  void CopyTo(ProfileRecord& out) const;
  std::unique_ptr<ProfileRecord> Copy() const;

 private:
  mutable std::unique_ptr<ProfileRecord> record_;
  mutable std::vector<uint8_t> packed_;  // used only while record_ is null
};

}  // namespace ms1
