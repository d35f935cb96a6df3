#include "model/button_report.h"

#include "model/function_table.h"
#include "model/profile.h"
#include "model/protocol/button_layout.h"

namespace ms1 {

Report EncodeButtonReport(const ProfileRecord& profile, int k,
                          const MacroNumberRow& macro_numbers) {
  using namespace button_layout;
  static_assert(kTripleCount == kButtonCount);
  const ModeRecord& mode = ModeOf(profile, k);
  Report r = NewReport(command::kButtonMapping, report_size::kButtonMapping);
  r[frame::kTarget] = static_cast<uint8_t>(k + 1);
  for (int i = 0; i < kTripleCount; ++i) {
    const ButtonRecord& button = ButtonOf(mode, i);
    DeviceBytes bytes = DeviceBytesFor(button.function_code);
    if (button.function_code == kFunctionShortcut) {
      bytes[1] = button.shortcut_modifiers;
      bytes[2] = button.shortcut_key;
    } else if (button.function_code == kFunctionMacro) {
      bytes[1] = 0;
      bytes[2] = macro_numbers[static_cast<std::size_t>(i)];
    }
    for (std::size_t b = 0; b < kTripleSize; ++b) r[TripleOf(i) + b] = bytes[b];
  }
  StoreChecksum(r, kChecksum);
  return r;
}

}  // namespace ms1
