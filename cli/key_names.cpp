#include "cli/key_names.h"

#include <memory>
#include <optional>

#include "cli/skin_texts.h"
#include "keys/key_naming.h"

namespace ms1::cli {
namespace {

// The layout and the naming on it, made when first asked.
class LazyNaming {
 public:
  explicit LazyNaming(LanguageText texts) : texts_(std::move(texts)) {}
  std::string Name(uint32_t key_code) {
    if (!naming_) {
      layout_ = keylayout::Layout::Active();
      naming_.emplace(*layout_, texts_);
    }
    return naming_->UsageDisplayName(key_code);
  }

 private:
  LanguageText texts_;
  std::unique_ptr<keylayout::Layout> layout_;
  std::optional<KeyNaming> naming_;
};

}  // namespace

KeyNames ActiveKeyNames(const std::string& tool_folder) {
  const LanguageText texts = SkinTexts(tool_folder);
  auto naming = std::make_shared<LazyNaming>(texts);
  return {[naming](uint32_t key_code) { return naming->Name(key_code); },
          {texts("keyboard_ctrl_text"), texts("keyboard_shift_text"), texts("keyboard_alt_text"),
           texts("keyboard_win_text")},
          texts};
}

}  // namespace ms1::cli
