// A mark beside the stores that the mouse may not hold the stored profile:
// edits were made that no link carried yet. A run that ends before it can
// send them leaves the mark, and the next run sends them as soon as it finds
// the mouse, instead of writing the whole profile into it at every start.
#pragma once

#include <filesystem>
#include <string>

namespace ms1 {

std::filesystem::path UnsentEditsMarkPath(const std::filesystem::path& data_folder);

bool UnsentEditsMarked(const std::filesystem::path& data_folder);

// Leaves or removes the mark (an empty file, never followed through a link).
// False with `error` when that failed.
bool SetUnsentEditsMark(const std::filesystem::path& data_folder, bool unsent, std::string& error);

// The same kind of mark for a choice the user made: low-battery notices
// turned off.
bool LowBatteryNoticesOff(const std::filesystem::path& data_folder);
bool SetLowBatteryNoticesOff(const std::filesystem::path& data_folder, bool off,
                             std::string& error);

}  // namespace ms1
