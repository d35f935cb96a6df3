#include "keys/key_language_keys.h"

#include <array>
#include <string_view>

#include "keys/key_table.h"

namespace ms1 {
namespace {

constexpr std::array<std::string_view, 12> kFunctionKeys = {
    "key_F1", "key_F2", "key_F3", "key_F4",  "key_F5",  "key_F6",
    "key_F7", "key_F8", "key_F9", "key_F10", "key_F11", "key_F12"};
constexpr std::array<std::string_view, 10> kKeypadDigits = {
    "key_Num_0", "key_Num_1", "key_Num_2", "key_Num_3", "key_Num_4",
    "key_Num_5", "key_Num_6", "key_Num_7", "key_Num_8", "key_Num_9"};

struct Entry {
  uint32_t code;
  std::string_view language_key;
};

// Key codes 0x46..0xE7 with one key each.
constexpr Entry kUsageKeys[] = {
    {0x46, "key_Print Scr"}, {0x47, "key_Scroll Lock"}, {0x48, "key_Pause"},
    {0x49, "key_Insert"},    {0x4A, "key_Home"},        {0x4B, "key_Page Up"},
    {0x4C, "key_Delete"},    {0x4D, "key_End"},         {0x4E, "key_Page Down"},
    {0x4F, "key_Right"},     {0x50, "key_Left"},        {0x51, "key_Down"},
    {0x52, "key_Up"},        {0x53, "key_Num Lock"},    {0x54, "key_Num_/"},
    {0x55, "key_Num_*"},     {0x56, "key_Num_-"},       {0x57, "key_Num_+"},
    {0x58, "key_Num_Enter"}, {0x62, "key_Num_0"},       {0x63, "key_Num_."},
    {0x64, "key_\\"},        {0x65, "key_APP"},         {0x66, ""},
    {0x67, ""},              {0x68, ""},                {0x82, "Sleep"},
    {0x88, "Kana/Roma"},     {0xDD, "`"},               {0xE0, "key_LCtrl"},
    {0xE1, "key_LShift"},    {0xE2, "key_LAlt"},        {0xE3, "key_LWin"},
    {0xE4, "key_RCtrl"},     {0xE5, "key_RShift"},      {0xE6, "key_RAlt"},
    {0xE7, "key_RWin"},
};

constexpr Entry kVirtualKeys[] = {
    {0x08, "key_BackSpace"},  {0x09, "key_Tab"},       {0x0D, "key_Enter"},
    {0x10, "key_LShift"},     {0x11, "key_LCtrl"},     {0x12, "key_LAlt"},
    {0x13, "key_Pause"},      {0x14, "key_Caplk"},     {0x1B, "key_Esc"},
    {0x20, "key_Space"},      {0x21, "key_Page Up"},   {0x22, "key_Page Down"},
    {0x23, "key_End"},        {0x24, "key_Home"},      {0x25, "key_Left"},
    {0x26, "key_Up"},         {0x27, "key_Right"},     {0x28, "key_Down"},
    {0x2A, "key_Print Scr"},  {0x2C, "key_Print Scr"}, {0x2D, "key_Insert"},
    {0x2E, "key_Delete"},     {0x5B, "key_LWin"},      {0x5C, "key_RWin"},
    {0x5D, "key_APP"},        {0x6A, "key_Num_*"},     {0x6B, "key_Num_+"},
    {0x6C, "key_Num_Enter"},  {0x6D, "key_Num_-"},     {0x6E, "key_Num_."},
    {0x6F, "key_Num_/"},      {0x90, "key_Num Lock"},  {0x91, "key_Scroll Lock"},
    {0xA0, "key_LShift"},     {0xA1, "key_RShift"},    {0xA2, "key_LCtrl"},
    {0xA3, "key_RCtrl"},      {0xA4, "key_LAlt"},      {0xA5, "key_RAlt"},
    {0xF0, "key_Caplk"},
};

std::optional<std::string_view> Find(const auto& entries, uint32_t code) {
  for (const Entry& e : entries) {
    if (e.code == code) return e.language_key;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string_view> UsageLanguageKey(uint32_t key_code) {
  if (key_code >= 0x3A && key_code <= 0x45) return kFunctionKeys[key_code - 0x3A];
  if (key_code >= 0x59 && key_code <= 0x61) return kKeypadDigits[key_code - 0x59 + 1];
  if (IsMouseButtonCode(key_code)) return MouseButtonLanguageKey(key_code);
  return Find(kUsageKeys, key_code);
}

std::optional<std::string_view> VirtualKeyLanguageKey(uint32_t virtual_key) {
  if (virtual_key >= 0x60 && virtual_key <= 0x69) return kKeypadDigits[virtual_key - 0x60];
  if (virtual_key >= 0x70 && virtual_key <= 0x7B) return kFunctionKeys[virtual_key - 0x70];
  return Find(kVirtualKeys, virtual_key);
}

}  // namespace ms1
