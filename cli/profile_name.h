// A profile name given on the command line, judged by the rule the name
// dialog of the program uses.
#pragma once

#include <string>

#include "model/profile_commands.h"

namespace ms1::cli {

// Why `name` is refused, as ms1ctl says it; empty when it is accepted.
std::string ProfileNameProblem(ProfileNameCheck check, const std::string& name);

}  // namespace ms1::cli
