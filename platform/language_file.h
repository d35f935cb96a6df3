// The language file read without Qt, for ms1ctl: the same
// `<Language><Text key="...">...</Text></Language>` the window loads, as a
// plain map of language keys to texts.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ms1 {

using LanguageTexts = std::map<std::string, std::string, std::less<>>;

// nullopt when the text is not a language file.
std::optional<LanguageTexts> ParseLanguageFile(std::string_view xml);

// nullopt when the file cannot be read or is not a language file.
std::optional<LanguageTexts> ReadLanguageFile(const std::string& path);

}  // namespace ms1
