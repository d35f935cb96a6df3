// The skin's language file "lan.xml", which translators and users edit: read
// by the window (Qt's XML reader) and by ms1ctl (a small reader of its own).
// Whatever either reads back, written out as a language file, reads back the
// same in both, so a text never changes on its way through the file.
#include <QFile>
#include <QHash>
#include <QString>
#include <string>

#include "fuzz_support.h"
#include "platform/language.h"
#include "platform/language_file.h"

namespace {

using namespace ms1;
namespace fs = std::filesystem;

// Text as the content of a language file: markup characters and control
// characters as references.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "&#" + std::to_string(static_cast<unsigned char>(c)) + ";";
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string LanguageFile(const LanguageTexts& texts) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language>\n";
  for (const auto& [key, text] : texts) {
    xml += "  <Text key=\"" + Escaped(key) + "\">" + Escaped(text) + "</Text>\n";
  }
  return xml + "</Language>\n";
}

// What the window reads, for comparison.
std::optional<LanguageTexts> LoadWithQt(const fs::path& file) {
  Language language;
  if (!language.Load(QString::fromStdString(file.string()))) return std::nullopt;
  LanguageTexts texts;
  for (const QString& key : language.Keys()) {
    texts[key.toStdString()] = language.Text(key).toStdString();
  }
  return texts;
}

void RequireNoEmptyKey(const LanguageTexts& texts) {
  for (const auto& entry : texts) fuzz::Require(!entry.first.empty(), "a text under an empty key");
}

void RequireWrittenReadsBack(const LanguageTexts& texts, const fs::path& folder, bool with_qt) {
  const std::string xml = LanguageFile(texts);
  fuzz::Require(ParseLanguageFile(xml) == texts, "ms1ctl reads a written language file back different");
  if (!with_qt) return;
  const fs::path file = folder / "written.xml";
  fuzz::WriteFile(file, {reinterpret_cast<const uint8_t*>(xml.data()), xml.size()});
  fuzz::Require(LoadWithQt(file) == texts, "the window reads a written language file back different");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fs::path& folder = fuzz::ScratchFolder();
  const fs::path file = folder / "lan.xml";
  fuzz::WriteFile(file, {data, size});

  if (const auto texts = ParseLanguageFile({reinterpret_cast<const char*>(data), size})) {
    RequireNoEmptyKey(*texts);
    RequireWrittenReadsBack(*texts, folder, false);
  }
  if (const auto texts = LoadWithQt(file)) {
    RequireNoEmptyKey(*texts);
    RequireWrittenReadsBack(*texts, folder, true);
  }
  return 0;
}
