#include "model/version.h"

namespace ms1 {

const char* ProgramVersion() {
  return MS1_VERSION;
}

}  // namespace ms1
