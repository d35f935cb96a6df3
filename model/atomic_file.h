// Every file that holds the user's data is written here, and only here: into a
// temporary file beside the target, flushed to disk, then renamed over the
// target. A crash, a full disk or a failed write therefore leaves either the
// old file or the new one, never a mixture. One write runs at a time, from any
// thread.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

#include "model/file_stamp.h"

namespace ms1 {

using ByteView = std::span<const std::byte>;

template <typename T>
ByteView BytesOf(const T& value) {
  return std::as_bytes(std::span<const T, 1>(&value, 1));
}

// How a write treats what it finds: a file the user picked (an export) or one
// of the program's own (a store).
struct WriteRules {
  // The file is the user's alone (0600), whatever it was before.
  bool private_file = false;
  // A symbolic link at path is refused instead of followed: someone who can
  // write the folder could otherwise make the save replace any file of the
  // user's.
  bool refuse_links = false;
};
inline constexpr WriteRules kPrivateFileRules{true, true};

// Writes the pieces, in order, as the whole new content of path. A symbolic
// link at path is followed, so the file it names is replaced, unless the rules
// refuse links. An existing file's permissions are kept and a new file gets
// the usual ones (umask), unless the rules make it private. Only regular files
// are replaced: a folder, device or pipe at path is refused. On failure the
// previous file is untouched, no temporary file is left, and error says what
// went wrong.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const ByteView> pieces,
                         std::string& error, WriteRules rules = {});
bool WriteFileAtomically(const std::filesystem::path& path, std::initializer_list<ByteView> pieces,
                         std::string& error, WriteRules rules = {});

// The same, for content too large to hold at once: piece(0) .. piece(count - 1)
// are asked for in order, and each view need only stay valid until the next
// call. When `written` is given it receives the new file's stamp, taken before
// the file takes path's name, so that a file put at path by someone else right
// after the rename is never mistaken for the one written here.
bool WriteFileAtomically(const std::filesystem::path& path, std::size_t count,
                         const std::function<ByteView(std::size_t)>& piece, std::string& error,
                         WriteRules rules = {}, FileStamp* written = nullptr);

// What a refused link is told as, for writes and reads alike.
std::string LinkRefusedText(const std::filesystem::path& path);

// Removes the temporary files that writes to path left behind when their
// process died in the middle (a crash, a power cut). Only for a caller that
// knows no write to path is under way, in this process or another; returns
// how many were removed.
std::size_t RemoveLeftoverTemporaries(const std::filesystem::path& path);

// The write(2) every atomic write goes through. Tests put in short or failing
// writes; nullptr puts ::write back. Returns the one it replaced.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
WriteCall ReplaceWriteCallForTesting(WriteCall call);

}  // namespace ms1
