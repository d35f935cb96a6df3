// Lookup by name in the profile and macro lists, without regard to case.
#pragma once

#include <string>
#include <string_view>

#include "model/case_fold.h"
#include "model/profile_slot.h"
#include "model/text_field.h"

namespace ms1 {

inline std::u16string EntryName(const ProfileSlot& profile) { return profile.Name(); }
template <typename Pointer>
std::u16string EntryName(const Pointer& record) {
  return FieldText(record->name);
}

// Position of the first entry whose name field equals name in any letter
// case, or -1.
template <typename List>
int FindByName(const List& list, std::u16string_view name) {
  const std::u16string folded = FoldCase(name);
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (FoldCase(EntryName(list[i])) == folded) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ms1
