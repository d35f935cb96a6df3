// A profile file: exactly one ProfileRecord, byte for byte.
#pragma once

#include <filesystem>
#include <string>

#include "model/records.h"

namespace ms1 {

// Reads a profile file. Anything that is not exactly one record long is
// refused with a message and leaves `out` untouched.
bool ReadProfileFile(const std::filesystem::path& path, ProfileRecord& out, std::string& error);

bool WriteProfileFile(const std::filesystem::path& path, const ProfileRecord& profile,
                      std::string& error);

}  // namespace ms1
