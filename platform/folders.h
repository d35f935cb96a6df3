// Where the program lives and where it keeps its data.
#pragma once

#include <string>

namespace ms1 {

// The folder of the running executable, ending with '/'.
std::string ProgramFolder();

// The program folder's "Data/", created when missing. Where the program folder
// cannot be written (an install under /usr), $XDG_DATA_HOME/ms1-config/ (or
// ~/.local/share/ms1-config/) instead, so profiles are never silently lost.
// Ends with '/'. A failed creation is not reported here: the caller's file
// operations fail later.
std::string DataFolder();

// The rule itself, for a given program folder and data home.
std::string DataFolderFor(const std::string& programFolder, const std::string& dataHome);

}  // namespace ms1
