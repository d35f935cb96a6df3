#include "model/file_stamp.h"

namespace ms1 {

FileStamp StampOf(const struct stat& info) {
  constexpr int64_t kNsPerSecond = 1'000'000'000;
  return {info.st_dev, info.st_ino, info.st_size,
          static_cast<int64_t>(info.st_mtim.tv_sec) * kNsPerSecond + info.st_mtim.tv_nsec};
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return StampOf(info);
}

}  // namespace ms1
