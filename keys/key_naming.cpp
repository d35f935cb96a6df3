#include "keys/key_naming.h"

#include "keys/key_language_keys.h"
#include "keys/key_table.h"
#include "keys/upper_case.h"

namespace ms1 {
namespace {

constexpr uint32_t kFirstScannedCode = 0x04;  // rows with scan codes: 0x04..0x45
constexpr uint32_t kLastScannedCode = 0x45;
constexpr uint32_t kLastPrintedCode = 0x39;   // named through the layout: 0x04..0x39

const KeyRow* FirstRow(auto matches, std::size_t rows = kKeyTableRows) {
  for (std::size_t i = 0; i < rows; ++i) {
    if (matches(KeyTable()[i])) return &KeyTable()[i];
  }
  return nullptr;
}

}  // namespace

UsageLookup KeyNaming::VirtualKeyToUsage(uint32_t virtual_key) const {
  const KeyRow* row = FirstRow([&](const KeyRow& r) { return r.virtual_key == virtual_key; });
  if (row == nullptr) return {};
  UsageLookup result{true, row->key_code};
  if (result.usage < kFirstScannedCode || result.usage > kLastScannedCode) return result;
  // Name the physical key: on AZERTY the virtual key 'A' sits where a US
  // keyboard has Q, so it gives Q's key code.
  const uint32_t scan_code = layout_.KeyOf(virtual_key);
  const KeyRow* at_position =
      FirstRow([&](const KeyRow& r) { return r.scan_code == scan_code; }, kRowsWithScanCode);
  if (scan_code != 0 && at_position != nullptr) result.usage = at_position->key_code;
  return result;
}

std::string KeyNaming::UsageDisplayName(uint32_t key_code) const {
  if (key_code >= kFirstScannedCode && key_code <= kLastPrintedCode) {
    const KeyRow* row = FirstRow([&](const KeyRow& r) { return r.key_code == key_code; });
    if (row == nullptr) return {};  // 0x32 has no row
    return VirtualKeyDisplayName(layout_.VirtualKeyOf(row->scan_code));
  }
  const auto language_key = UsageLanguageKey(key_code);
  if (!language_key || language_key->empty()) return {};
  return text_(*language_key);
}

std::string KeyNaming::VirtualKeyDisplayName(uint32_t virtual_key) const {
  if (const auto language_key = VirtualKeyLanguageKey(virtual_key)) return text_(*language_key);
  return PrintedName(virtual_key);
}

// What the key prints with no modifier held, upper-cased; a dead key shows
// the accent it puts down.
std::string KeyNaming::PrintedName(uint32_t virtual_key) const {
  const uint32_t key = layout_.KeyOf(virtual_key);
  const std::string printed = layout_.TextOf(key);
  return UpperCaseEach(printed.empty() ? layout_.AccentOf(key) : printed);
}

}  // namespace ms1
