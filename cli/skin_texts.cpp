#include "cli/skin_texts.h"

#include <filesystem>
#include <memory>

#include "platform/language_file.h"

namespace ms1::cli {

namespace fs = std::filesystem;

std::string FindSkinLanguageFile(const std::string& tool_folder) {
  fs::path folder(tool_folder);
  if (!folder.has_filename()) folder = folder.parent_path();  // "…/cli/" -> "…/cli"
  for (const fs::path& candidate :
       {folder / "res" / "lan.xml", folder.parent_path() / "app" / "res" / "lan.xml"}) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate.string();
  }
  return {};
}

std::string ReadableLanguageKey(std::string_view language_key) {
  std::string_view core = language_key;
  if (core.starts_with("key_")) core.remove_prefix(4);
  const bool modifier = core.starts_with("keyboard_") && core.ends_with("_text");
  if (modifier) core = core.substr(9, core.size() - 9 - 5);
  else if (core.ends_with("_text")) core.remove_suffix(5);
  std::string text(core);
  for (char& c : text) {
    if (c == '_') c = ' ';
  }
  if (modifier && !text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] -= 'a' - 'A';
  return text;
}

LanguageText SkinTexts(const std::string& tool_folder) {
  const std::string path = FindSkinLanguageFile(tool_folder);
  auto texts = path.empty() ? std::nullopt : ReadLanguageFile(path);
  if (!texts) return [](std::string_view key) { return ReadableLanguageKey(key); };
  auto shared = std::make_shared<const LanguageTexts>(std::move(*texts));
  return [shared](std::string_view key) {
    const auto it = shared->find(key);
    return it != shared->end() ? it->second : std::string(key);
  };
}

}  // namespace ms1::cli
