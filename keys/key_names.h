// The program's key names: the key tables on the keyboard layout that is
// active at the moment of the call, with the texts of the language file.
// Nothing is kept between calls, so a layout switch shows at the next one.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "keys/key_naming.h"

namespace ms1 {

UsageLookup VirtualKeyToUsage(uint32_t virtual_key);   // the active layout, now
QString UsageDisplayName(uint32_t usage);              // language texts from Lan()
QString VirtualKeyDisplayName(uint32_t virtual_key);

// Many names at one moment (the 18 captions of a page): one reading of the
// active layout for all of them. Keep it only as long as that moment.
class KeyNamesNow {
 public:
  KeyNamesNow();
  ~KeyNamesNow();
  KeyNamesNow(const KeyNamesNow&) = delete;
  KeyNamesNow& operator=(const KeyNamesNow&) = delete;

  UsageLookup VirtualKeyToUsage(uint32_t virtual_key) const;
  QString UsageDisplayName(uint32_t usage) const;
  QString VirtualKeyDisplayName(uint32_t virtual_key) const;

 private:
  std::unique_ptr<keylayout::Layout> layout_;
  KeyNaming naming_;
};

}  // namespace ms1
