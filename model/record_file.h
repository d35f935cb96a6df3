// A file that holds exactly one record, byte for byte (profile and macro files).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace ms1 {

// Reads a file of exactly `size` bytes into out. Any other length is refused
// with a message naming `kind` ("a profile file") and out stays untouched.
bool ReadRecordFile(const std::filesystem::path& path, void* out, std::size_t size,
                    const char* kind, std::string& error);

// Writes the record as the whole file, atomically.
bool WriteRecordFile(const std::filesystem::path& path, const void* record, std::size_t size,
                     std::string& error);

}  // namespace ms1
