#include "model/profile_file.h"

#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

namespace ms1 {

bool ReadProfileFile(const std::filesystem::path& path, ProfileRecord& out, std::string& error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = path.string() + ": " + ec.message();
    return false;
  }
  if (size != kProfileRecordSize) {
    error = path.string() + ": not a profile file (" + std::to_string(size) + " bytes, expected " +
            std::to_string(kProfileRecordSize) + ")";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  auto record = std::make_unique<ProfileRecord>();
  if (!in.read(reinterpret_cast<char*>(record.get()), kProfileRecordSize)) {
    error = path.string() + ": cannot be read";
    return false;
  }
  std::memcpy(&out, record.get(), kProfileRecordSize);
  return true;
}

bool WriteProfileFile(const std::filesystem::path& path, const ProfileRecord& profile,
                      std::string& error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(&profile), kProfileRecordSize);
  file.close();
  if (!file) {
    error = path.string() + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace ms1
