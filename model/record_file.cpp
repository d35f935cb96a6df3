#include "model/record_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <vector>

#include "model/atomic_file.h"

namespace ms1 {

bool ReadRecordFile(const std::filesystem::path& path, void* out, std::size_t size,
                    const char* kind, std::string& error) {
  std::error_code ec;
  const auto file_size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = path.string() + ": " + ec.message();
    return false;
  }
  if (file_size != size) {
    error = path.string() + ": not " + kind + " (" + std::to_string(file_size) +
            " bytes, expected " + std::to_string(size) + ")";
    return false;
  }
  // Read one byte more than expected so a file that grew meanwhile is refused too.
  std::vector<char> bytes(size + 1);
  std::ifstream in(path, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || static_cast<std::size_t>(in.gcount()) != size) {
    error = path.string() + ": cannot be read as " + kind;
    return false;
  }
  std::copy_n(bytes.data(), size, static_cast<char*>(out));
  return true;
}

bool WriteRecordFile(const std::filesystem::path& path, const void* record, std::size_t size,
                     std::string& error) {
  const ByteView bytes(static_cast<const std::byte*>(record), size);
  return WriteFileAtomically(path, {bytes}, error);
}

}  // namespace ms1
