// Tells one version of a file from another without reading it: a file
// replaced by rename is a new inode, one written in place has a new size or
// modification time.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>

namespace ms1 {

struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modified_ns = 0;

  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& info);

// The stamp of the file at path, links followed; none when there is no file.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

}  // namespace ms1
