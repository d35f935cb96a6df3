#include "model/button_report.h"

#include "model/function_table.h"
#include "model/profile.h"

namespace ms1 {

Report EncodeButtonReport(const ProfileRecord& profile, int k, const MacroNumberRow& macro_numbers) {
  const ModeRecord& mode = ModeOf(profile, k);
  Report r = NewReport(command::kButtonMapping, report_size::kButtonMapping);
  r[2] = static_cast<uint8_t>(k + 1);
  for (int i = 0; i < kButtonCount; ++i) {
    const ButtonRecord& button = ButtonOf(mode, i);
    DeviceBytes bytes = DeviceBytesFor(button.function_code);
    if (button.function_code == kFunctionShortcut) {
      bytes[1] = button.shortcut_modifiers;
      bytes[2] = button.shortcut_key;
    } else if (button.function_code == kFunctionMacro) {
      bytes[1] = 0;
      bytes[2] = macro_numbers[static_cast<std::size_t>(i)];
    }
    for (int b = 0; b < 3; ++b) r[3 + 3 * i + b] = bytes[static_cast<std::size_t>(b)];
  }
  StoreChecksum(r, 56);
  return r;
}

}  // namespace ms1
