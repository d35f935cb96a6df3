#include "model/profile_file.h"

#include "model/record_file.h"

namespace ms1 {

bool ReadProfileFile(const std::filesystem::path& path, ProfileRecord& out, std::string& error) {
  return ReadRecordFile(path, &out, kProfileRecordSize, "a profile file", error);
}

bool WriteProfileFile(const std::filesystem::path& path, const ProfileRecord& profile,
                      std::string& error) {
  return WriteRecordFile(path, &profile, kProfileRecordSize, error);
}

}  // namespace ms1
