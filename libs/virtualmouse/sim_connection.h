// The local socket between the virtual mouse simulator and its clients (the
// two driver library files and ms1ctl). One request is one text line; every
// reply and every pushed event is one line of JSON.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace ms1::vmouse {

// Folder of one simulator instance: $MS1_VMOUSE_DIR, else
// $XDG_RUNTIME_DIR/ms1-vmouse, else /tmp/ms1-vmouse-<uid>. Created on demand
// (0700); the last one is empty, said on standard error, when it is not this
// user's alone.
std::string InstanceDir();
std::string SocketPath(const std::string& dir);
std::string LockPath(const std::string& dir);
std::string LogPath(const std::string& dir);

// A connected stream socket read and written line by line.
class LineConnection {
 public:
  explicit LineConnection(int fd) : fd_(fd) {}
  ~LineConnection();
  LineConnection(const LineConnection&) = delete;
  LineConnection& operator=(const LineConnection&) = delete;

  int fd() const { return fd_; }
  bool WriteLine(const std::string& line);
  // Waits at most timeout_ms (-1: forever) for a complete line.
  bool ReadLine(std::string& line, int timeout_ms);
  // Takes one complete line already buffered, without reading the socket.
  bool TakeBufferedLine(std::string& line);
  // Reads what the socket has now (after poll said readable); false on EOF/error.
  bool FillBuffer();
  // Bytes received but not yet taken as lines.
  std::size_t Pending() const { return buffer_.size(); }

  // One request and its JSON reply; a null json when the connection failed.
  nlohmann::json Request(const std::string& line, int timeout_ms = 5000);

 private:
  int fd_;
  std::string buffer_;
};

// Connects to the simulator of `dir`; null when none listens there.
std::unique_ptr<LineConnection> ConnectToSimulator(const std::string& dir);

// Starts the simulator executable detached from the caller (so it never
// becomes the caller's zombie) and waits until it listens or gives up.
bool StartSimulator(const std::string& executable, const std::string& dir);

// Connects, starting the simulator first when none listens and an executable
// is known. Null when the simulator cannot be reached.
std::unique_ptr<LineConnection> ConnectOrStart(const std::string& executable);

// The simulator executable: $MS1_VMOUSE_SIM, else the first candidate that exists.
std::string FindSimulator(const std::string& beside_folder);

}  // namespace ms1::vmouse
