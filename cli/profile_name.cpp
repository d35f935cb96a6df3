#include "cli/profile_name.h"

namespace ms1::cli {

std::string ProfileNameProblem(ProfileNameCheck check, const std::string& name) {
  switch (check) {
    case ProfileNameCheck::kOk:
      return {};
    case ProfileNameCheck::kEmpty:
      return "a profile name must not be empty or blank";
    case ProfileNameCheck::kControl:
      return "a profile name must not hold control characters";
    case ProfileNameCheck::kTooLong:
      return "a profile name has at most 49 characters";
    case ProfileNameCheck::kTaken:
      return "a profile named \"" + name + "\" exists already";
  }
  return {};
}

}  // namespace ms1::cli
