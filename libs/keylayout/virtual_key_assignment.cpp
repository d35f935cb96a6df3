#include "libs/keylayout/virtual_key_assignment.h"

#include <bitset>
#include <vector>

namespace ms1::keylayout {
namespace {

constexpr uint32_t kVirtualKeyCount = 256;

// The US punctuation characters and the virtual keys Windows names them by.
uint32_t PunctuationVirtualKey(char32_t c) {
  switch (c) {
    case U'-': return 0xBD;
    case U'=':
    case U'+': return 0xBB;
    case U'[': return 0xDB;
    case U']': return 0xDD;
    case U'\\': return 0xDC;
    case U';': return 0xBA;
    case U'\'': return 0xDE;
    case U'`': return 0xC0;
    case U',': return 0xBC;
    case U'.': return 0xBE;
    case U'/': return 0xBF;
    default: return 0;
  }
}

uint32_t LetterOrDigitVirtualKey(char32_t c) {
  if (c >= U'a' && c <= U'z') return static_cast<uint32_t>(c - U'a' + 'A');
  if ((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9')) return static_cast<uint32_t>(c);
  return 0;
}

uint32_t DigitVirtualKey(char32_t c) {
  return c >= U'0' && c <= U'9' ? static_cast<uint32_t>(c) : 0;
}

bool IsLetterCode(uint32_t virtual_key) { return virtual_key >= 'A' && virtual_key <= 'Z'; }

// Hands out virtual keys so that no code goes to two keys.
class Assignment {
 public:
  // Gives `code` to the key when the key has none yet and nobody holds it.
  void Claim(uint32_t linux_key, uint32_t code) {
    if (code == 0 || table_[linux_key] != 0 || taken_[code]) return;
    table_[linux_key] = code;
    taken_[code] = true;
  }
  bool HasCode(uint32_t linux_key) const { return table_[linux_key] != 0; }
  bool Taken(uint32_t code) const { return taken_[code]; }
  const VirtualKeyTable& Table() const { return table_; }

 private:
  VirtualKeyTable table_{};
  std::bitset<kVirtualKeyCount> taken_;
};

// One pass over the character block in key-code order.
void EachBlockKey(const std::function<void(uint32_t)>& visit) {
  for (uint32_t key = 0; key < kLinuxKeyCount; ++key) {
    if (InCharacterBlock(key)) visit(key);
  }
}

}  // namespace

VirtualKeyTable AssignVirtualKeys(
    const std::function<PrintedCharacters(uint32_t linux_key)>& printed) {
  std::array<PrintedCharacters, kLinuxKeyCount> chars{};
  EachBlockKey([&](uint32_t key) { chars[key] = printed(key); });

  Assignment a;
  // What the key prints decides first: letters and digits, then digits that
  // need Shift (AZERTY's digit row), then the US punctuation.
  EachBlockKey([&](uint32_t key) { a.Claim(key, LetterOrDigitVirtualKey(chars[key].unshifted)); });
  EachBlockKey([&](uint32_t key) { a.Claim(key, DigitVirtualKey(chars[key].shifted)); });
  EachBlockKey([&](uint32_t key) { a.Claim(key, PunctuationVirtualKey(chars[key].unshifted)); });
  // Then the US position, when no printed character took that code.
  EachBlockKey([&](uint32_t key) { a.Claim(key, UsPositionVirtualKey(key)); });
  // A key still without a code lost its position's code to another key:
  // give it a non-letter code of the block that nobody carries, so that it
  // can still be reported and named.
  std::vector<uint32_t> unused;
  EachBlockKey([&](uint32_t key) {
    const uint32_t code = UsPositionVirtualKey(key);
    if (!IsLetterCode(code) && !a.Taken(code)) unused.push_back(code);
  });
  auto next = unused.begin();
  EachBlockKey([&](uint32_t key) {
    if (!a.HasCode(key) && next != unused.end()) a.Claim(key, *next++);
  });

  VirtualKeyTable table = a.Table();
  for (uint32_t key = 0; key < kLinuxKeyCount; ++key) {
    if (!InCharacterBlock(key)) table[key] = UsPositionVirtualKey(key);
  }
  return table;
}

}  // namespace ms1::keylayout
