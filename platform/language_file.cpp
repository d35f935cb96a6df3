#include "platform/language_file.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "model/text_field.h"

namespace ms1 {
namespace {

// "#233" or "#xE9"; nullopt for anything else.
std::optional<char32_t> CharacterReference(std::string_view name) {
  if (!name.starts_with('#')) return std::nullopt;
  const bool hex = name.starts_with("#x");
  const std::string_view digits = name.substr(hex ? 2 : 1);
  unsigned long value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
  if (error != std::errc() || end != digits.data() + digits.size() || value > 0x10FFFF) {
    return std::nullopt;
  }
  return static_cast<char32_t>(value);
}

// Replaces the five predefined entities and character references.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
    if (end == std::string_view::npos) {
      out += text[i];
      continue;
    }
    const std::string_view name = text.substr(i + 1, end - i - 1);
    if (name == "amp") out += '&';
    else if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (const auto c = CharacterReference(name)) AppendUtf8(out, *c);
    else out.append(text.substr(i, end - i + 1));
    i = end;
  }
  return out;
}

// Reads markup from `xml` one piece at a time.
class Reader {
 public:
  explicit Reader(std::string_view xml) : xml_(xml) {}

  // Moves to the next start tag, past declarations, comments and end tags;
  // false at the end. The tag's text (between '<' and '>') is kept.
  bool NextStartTag() {
    while (true) {
      const std::size_t open = xml_.find('<', pos_);
      if (open == std::string_view::npos) return false;
      if (xml_.substr(open).starts_with("<!--")) {
        const std::size_t close = xml_.find("-->", open);
        if (close == std::string_view::npos) return false;
        pos_ = close + 3;
        continue;
      }
      const std::size_t close = xml_.find('>', open);
      if (close == std::string_view::npos) return false;
      pos_ = close + 1;
      const char kind = open + 1 < xml_.size() ? xml_[open + 1] : '\0';
      if (kind == '?' || kind == '!' || kind == '/') continue;
      tag_ = xml_.substr(open + 1, close - open - 1);
      return true;
    }
  }

  std::string_view TagName() const { return tag_.substr(0, tag_.find_first_of(" \t\r\n/")); }
  bool SelfClosing() const { return tag_.ends_with('/'); }

  std::optional<std::string> Attribute(std::string_view name) const {
    std::size_t at = 0;
    while ((at = tag_.find(name, at)) != std::string_view::npos) {
      const std::size_t after = at + name.size();
      const bool whole = at > 0 && std::string_view(" \t\r\n").find(tag_[at - 1]) != std::string_view::npos;
      const std::size_t equals = tag_.find_first_not_of(" \t\r\n", after);
      if (whole && equals != std::string_view::npos && tag_[equals] == '=') {
        const std::size_t quote = tag_.find_first_not_of(" \t\r\n", equals + 1);
        if (quote == std::string_view::npos || (tag_[quote] != '"' && tag_[quote] != '\'')) break;
        const std::size_t end = tag_.find(tag_[quote], quote + 1);
        if (end == std::string_view::npos) break;
        return Unescape(tag_.substr(quote + 1, end - quote - 1));
      }
      at = after;
    }
    return std::nullopt;
  }

  // The text up to `</name>`, after the current start tag.
  std::optional<std::string> TextUntilEnd(std::string_view name) {
    const std::string end = "</" + std::string(name);
    const std::size_t close = xml_.find(end, pos_);
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view text = xml_.substr(pos_, close - pos_);
    pos_ = xml_.find('>', close);
    pos_ = pos_ == std::string_view::npos ? xml_.size() : pos_ + 1;
    return Unescape(text);
  }

 private:
  std::string_view xml_;
  std::size_t pos_ = 0;
  std::string_view tag_;
};

}  // namespace

std::optional<LanguageTexts> ParseLanguageFile(std::string_view xml) {
  Reader reader(xml);
  if (!reader.NextStartTag() || reader.TagName() != "Language") return std::nullopt;
  LanguageTexts texts;
  while (reader.NextStartTag()) {
    if (reader.TagName() != "Text") continue;
    const std::optional<std::string> key = reader.Attribute("key");
    std::optional<std::string> text = std::string();
    if (!reader.SelfClosing()) text = reader.TextUntilEnd("Text");
    if (!text) return std::nullopt;
    if (key && !key->empty()) texts[*key] = std::move(*text);
  }
  return texts;
}

std::optional<LanguageTexts> ReadLanguageFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  return ParseLanguageFile(content.str());
}

}  // namespace ms1
