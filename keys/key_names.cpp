#include "keys/key_names.h"

#include "keys/key_trace.h"
#include "platform/language.h"

namespace ms1 {
namespace {

std::string LanguageFileText(std::string_view language_key) {
  return Lan()
      .Text(QString::fromUtf8(language_key.data(), static_cast<qsizetype>(language_key.size())))
      .toStdString();
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

KeyNamesNow::KeyNamesNow()
    : layout_(keylayout::Layout::Active()), naming_(*layout_, LanguageFileText) {}

KeyNamesNow::~KeyNamesNow() = default;

UsageLookup KeyNamesNow::VirtualKeyToUsage(uint32_t virtual_key) const {
  return naming_.VirtualKeyToUsage(virtual_key);
}

QString KeyNamesNow::UsageDisplayName(uint32_t usage) const {
  const std::string name = naming_.UsageDisplayName(usage);
  TraceKey("m_key = %s\r\n", name.c_str());
  return FromUtf8(name);
}

QString KeyNamesNow::VirtualKeyDisplayName(uint32_t virtual_key) const {
  return FromUtf8(naming_.VirtualKeyDisplayName(virtual_key));
}

UsageLookup VirtualKeyToUsage(uint32_t virtual_key) {
  return KeyNamesNow().VirtualKeyToUsage(virtual_key);
}

QString UsageDisplayName(uint32_t usage) { return KeyNamesNow().UsageDisplayName(usage); }

QString VirtualKeyDisplayName(uint32_t virtual_key) {
  return KeyNamesNow().VirtualKeyDisplayName(virtual_key);
}

}  // namespace ms1
