#include "platform/autostart.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace ms1 {
namespace {

namespace fs = std::filesystem;

constexpr char kEntryName[] = "io.ms1config.Ms1Config.desktop";

// A quoted argument of an Exec key: ", `, $ and \ escaped with a backslash,
// and the backslash itself doubled once more by the string escaping of the key.
std::string QuotedExecArgument(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
    if (c == '\\') quoted += "\\\\\\";
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

fs::path AutostartFileFor(const char* xdg_config_home, const char* home) {
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  if (xdg_config_home != nullptr && xdg_config_home[0] == '/')
    return fs::path(xdg_config_home) / "autostart" / kEntryName;
  if (home != nullptr && home[0] != '\0') return fs::path(home) / ".config/autostart" / kEntryName;
  return {};
}

fs::path AutostartFile() {
  return AutostartFileFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

std::string AutostartEntryText(const std::string& program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=MS_1 Gaming Mouse\n"
         "Comment=Keeps the MS_1 mouse's configuration at hand in the tray\n"
         "Exec=" + QuotedExecArgument(program) + " " + kTrayOnlyArgument + "\n"
         "Icon=io.ms1config.Ms1Config\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool AutostartEnabled(const fs::path& file) {
  std::error_code ec;
  return !file.empty() && fs::exists(file, ec);
}

bool SetAutostart(const fs::path& file, bool enabled, const std::string& program) {
  if (file.empty()) return false;
  std::error_code ec;
  if (!enabled) return fs::remove(file, ec) || !fs::exists(file, ec);
  fs::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << AutostartEntryText(program);
  out.close();
  return static_cast<bool>(out);
}

}  // namespace ms1
