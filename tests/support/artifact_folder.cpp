// Test programs are built in their own build folder, so the folder of the
// running executable is where their screenshots always went, and no build
// path has to be compiled in.
#include <filesystem>

#include "support/test_paths.h"

namespace ms1::test::paths {

std::string ArtifactFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/";
}

}  // namespace ms1::test::paths
