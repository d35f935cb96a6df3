// The program's version, as `--version` prints it and the bus service tells.
#pragma once

namespace ms1 {

const char* ProgramVersion();

}  // namespace ms1
