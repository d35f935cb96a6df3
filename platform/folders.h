// Where the program is and where it keeps its data. Both paths end with '/'.
#pragma once

#include <string>

namespace ms1 {

// The folder of the running executable.
std::string ProgramFolder();

// A file that `cmake --install` puts into the installed program folder. Such
// a folder is shared by every user and belongs to the package manager, so the
// data never goes there, even when it could be written (as root).
inline constexpr char kInstalledMarker[] = "ms1-config.installed";

// The program folder's "Data/", created when missing. Where the program folder
// cannot be written, or was installed (kInstalledMarker), the user's
// $XDG_DATA_HOME/ms1-config/ (default ~/.local/share/ms1-config/) instead, so
// that no profile is silently lost.
std::string DataFolder();

// The folder part of an executable's path: "/opt/ms1/ms1-config" -> "/opt/ms1/".
std::string ProgramFolderOf(const std::string& executable_path);

// The choice DataFolder makes, with the environment passed in (nullptr or an
// empty text when a variable is unset). An installed program folder with no
// home to go to gives a folder under Debian's "/nonexistent" home, so that
// saves fail and say so rather than write under the prefix.
std::string DataFolderFor(const std::string& program_folder, const char* xdg_data_home,
                          const char* home);

}  // namespace ms1
