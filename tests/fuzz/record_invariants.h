// What must hold for every record the program keeps after reading untrusted
// bytes: safe fields, unique names, and reports the mouse takes.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "model/named_list.h"
#include "model/records.h"
#include "model/report.h"
#include "model/store_file.h"
#include "model/text_field.h"

namespace ms1::fuzz {

// Every report must be as long as its length byte says and taken by the
// mouse on each link that carries it: the report, as the transport sends it over each link (the wired link takes
// macros as chunks, Bluetooth LE has no polling rate), passes the mouse's checks.
void RequireSendable(const Report& report);

// Every report of every mode record of the profile, and a full apply of it
// with each mode active, is sendable.
void RequireProfileSendable(const ProfileRecord& profile);

// A copy made safe again is the same: the record was safe already.
void RequireSafe(const ProfileRecord& profile);
void RequireSafe(const MacroRecord& macro);

// A sound store loads without a word; any other is reported and kept aside
// byte for byte (`stored`) before anything can overwrite it.
void RequireLoadOutcome(const StoreLoad& load, bool sound, std::span<const uint8_t> stored);

// Each whole record `loaded` was read from (after the stored `header`),
// made safe, is the loaded one.
template <typename List, typename Record>
void RequireLoadedAsStored(const uint8_t* stored, std::size_t header, const List& loaded,
                           void (*make_safe)(Record&)) {
  static const auto expected = std::make_unique<Record>();  // kept: large records are slow to map
  for (std::size_t n = 0; n < loaded.size(); ++n) {
    std::memcpy(expected.get(), stored + header + n * sizeof(Record), sizeof(Record));
    make_safe(*expected);
    Require(SameBytes(*expected, *loaded[n]), "a whole stored record was changed");
  }
}

// Both lists hold the same records, byte for byte.
template <typename List>
bool SameRecords(const List& a, const List& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const auto& x, const auto& y) { return SameBytes(*x, *y); });
}

// No two entries share a name, compared without regard to case.
template <typename List>
void RequireUniqueNames(const List& list, const char* what) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (FindByName(list, FieldText(list[i]->name)) != static_cast<int>(i)) {
      Broken(std::string("two ") + what + " share a name");
    }
  }
}

}  // namespace ms1::fuzz
