// Stream sockets in Linux's abstract namespace: nothing in the file system to
// leave behind, and the name is released when its process ends. Plain POSIX,
// so that the single-instance check needs no network library at start-up.
#pragma once

#include <string>

namespace ms1 {

// A non-blocking listening socket bound to `name`, or -1 (errno tells why).
int ListenAbstract(const std::string& name);
// A connected socket whose reads and writes give up after `timeoutMs`, or -1
// when nobody listens.
int ConnectAbstract(const std::string& name, int timeoutMs);
// Whether the process at the other end of `fd` runs as this process's user.
bool PeerIsThisUser(int fd);
// Reads up to the first '\n' (kept), at most `limit` bytes; less when the
// peer closes or a read times out.
std::string ReadLine(int fd, std::size_t limit = 64);
// Writes all of `text`; false on error.
bool WriteAll(int fd, const std::string& text);

}  // namespace ms1
