// Losing the user's data silently is not acceptable: a failed save of a
// store is reported once, and again only after a save has succeeded.
#pragma once

namespace ms1 {

class StoreSaveWarning {
 public:
  // True when this result should raise the warning now.
  bool ShouldWarn(bool saved) {
    if (saved) {
      warned_ = false;
      return false;
    }
    if (warned_) return false;
    warned_ = true;
    return true;
  }

 private:
  bool warned_ = false;
};

}  // namespace ms1
