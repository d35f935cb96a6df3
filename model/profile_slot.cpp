#include "model/profile_slot.h"

#include <cstddef>
#include <cstring>
#include <span>
#include <stdexcept>

#include "model/text_field.h"
#include "model/zero_runs.h"

namespace ms1 {
namespace {

std::span<const std::byte> BytesOfRecord(const ProfileRecord& record) {
  return std::as_bytes(std::span<const ProfileRecord, 1>(&record, 1));
}

// Only PackZeroRuns of a whole record ever fills a slot's packed bytes, so
// bytes that do not unpack are a fault in this program, not in a file.
[[noreturn]] void PackedBytesDamaged() {
  throw std::logic_error("packed profile record is damaged");
}

void Unpack(const std::vector<uint8_t>& packed, ProfileRecord& out) {
  if (!UnpackZeroRuns(packed, std::as_writable_bytes(std::span<ProfileRecord, 1>(&out, 1)))) {
    PackedBytesDamaged();
  }
}

}  // namespace

ProfileSlot::ProfileSlot(const ProfileSlot& other) : packed_(other.packed_) {
  if (other.record_) {
    record_ = std::make_unique_for_overwrite<ProfileRecord>();
    std::memcpy(record_.get(), other.record_.get(), sizeof(ProfileRecord));
  }
}

ProfileSlot& ProfileSlot::operator=(const ProfileSlot& other) {
  if (this != &other) *this = ProfileSlot(other);
  return *this;
}

ProfileSlot ProfileSlot::PackedCopyOf(const ProfileRecord& record) {
  ProfileSlot slot;
  slot.packed_ = PackZeroRuns(BytesOfRecord(record));
  return slot;
}

ProfileSlot ProfileSlot::Zeroed() {
  ProfileSlot slot;
  slot.packed_ = PackedZeros(sizeof(ProfileRecord));
  return slot;
}

ProfileRecord* ProfileSlot::get() const {
  if (record_ == nullptr && !packed_.empty()) {
    auto record = std::make_unique_for_overwrite<ProfileRecord>();
    Unpack(packed_, *record);
    record_ = std::move(record);
    std::vector<uint8_t>().swap(packed_);  // the record may change from here on
  }
  return record_.get();
}

void ProfileSlot::Pack() {
  if (record_ == nullptr) return;
  packed_ = PackZeroRuns(BytesOfRecord(*record_));
  record_.reset();
}

std::u16string ProfileSlot::Name() const {
  if (record_ != nullptr) return FieldText(record_->name);
  // The name and what comes before it in the record.
  struct Head {
    int32_t active_mode;
    char16_t name[kProfileNameChars];
  } head;
  static_assert(offsetof(Head, name) == offsetof(ProfileRecord, name));
  if (!UnpackZeroRunsPrefix(packed_, std::as_writable_bytes(std::span<Head, 1>(&head, 1)))) {
    PackedBytesDamaged();
  }
  return FieldText(head.name);
}

void ProfileSlot::CopyTo(ProfileRecord& out) const {
  if (record_ != nullptr) {
    std::memcpy(&out, record_.get(), sizeof(ProfileRecord));
  } else {
    Unpack(packed_, out);
  }
}

std::unique_ptr<ProfileRecord> ProfileSlot::Copy() const {
  auto copy = std::make_unique_for_overwrite<ProfileRecord>();
  CopyTo(*copy);
  return copy;
}

}  // namespace ms1
