// The XDG autostart entry that starts the program with the desktop session,
// minimised to the tray ("--tray").
#pragma once

#include <filesystem>
#include <string>

namespace ms1 {

inline constexpr char kTrayOnlyArgument[] = "--tray";

// $XDG_CONFIG_HOME/autostart/io.ms1config.Ms1Config.desktop, by default under
// ~/.config; nullptr or an empty text when a variable is unset. Empty without
// either.
std::filesystem::path AutostartFileFor(const char* xdg_config_home, const char* home);
std::filesystem::path AutostartFile();  // from the environment

// The entry's text, starting `program` (an absolute path) with kTrayOnlyArgument.
std::string AutostartEntryText(const std::string& program);

bool AutostartEnabled(const std::filesystem::path& file);
// Writes or removes the entry; false when that failed.
bool SetAutostart(const std::filesystem::path& file, bool enabled, const std::string& program);

}  // namespace ms1
