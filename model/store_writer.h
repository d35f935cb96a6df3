// Where the stores are written: the profile store with the mark of edits the
// mouse may lack, and the macro store. The page model, the apply and the
// profile and macro commands save through these, whatever stands behind them
// (the data folder, nothing at all for ms1ctl's apply, a fake in tests).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/profile_store.h"
#include "model/records.h"

namespace ms1 {

using MacroList = std::vector<std::unique_ptr<MacroRecord>>;

// Writes the profile list and the selected index to the profile store.
class ProfileStoreWriter {
 public:
  virtual ~ProfileStoreWriter() = default;
  virtual bool Save(const ProfileList& profiles, int selected) = 0;
  // Told with every save whether the mouse may lack edits of the saved
  // profile, so that a run ending now leaves word for the next. A writer
  // without a data folder has nowhere to keep it.
  virtual void MarkUnsentEdits(bool) {}
};

// Rewrites the whole macro store; on failure the previous store is intact and
// error says why.
class MacroStoreWriter {
 public:
  virtual ~MacroStoreWriter() = default;
  virtual bool SaveMacros(const MacroList& macros, std::string& error) = 0;
};

}  // namespace ms1
