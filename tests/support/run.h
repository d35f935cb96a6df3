// Test helper: runs a program with arguments (no shell) and collects its output.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"

namespace ms1::test {

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline RunResult Run(const std::vector<std::string>& argv) {
  char out_path[] = "/tmp/ms1-run-out-XXXXXX";
  char err_path[] = "/tmp/ms1-run-err-XXXXXX";
  const int out_fd = mkstemp(out_path);
  const int err_fd = mkstemp(err_path);
  const pid_t pid = Spawn(argv, {}, out_fd, err_fd);
  close(out_fd);
  close(err_fd);
  RunResult result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(out_path);
  result.err = Slurp(err_path);
  unlink(out_path);
  unlink(err_path);
  return result;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline bool Installed(const std::string& tool) {
  return Run({"/usr/bin/which", tool}).exit_code == 0;
}

}  // namespace ms1::test
