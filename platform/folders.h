// Where the program is and where it keeps its data. Both paths end with '/'.
#pragma once

#include <string>

namespace ms1 {

// The folder of the running executable.
std::string ProgramFolder();

// The program folder's "Data/", created when missing. Where the program folder
// cannot be written (an install under /usr), the user's
// $XDG_DATA_HOME/ms1-config/ (default ~/.local/share/ms1-config/) instead, so
// that no profile is silently lost.
std::string DataFolder();

// The folder part of an executable's path: "/opt/ms1/ms1-config" -> "/opt/ms1/".
std::string ProgramFolderOf(const std::string& executable_path);

// The choice DataFolder makes, with the environment passed in (nullptr or an
// empty text when a variable is unset).
std::string DataFolderFor(const std::string& program_folder, const char* xdg_data_home,
                          const char* home);

}  // namespace ms1
