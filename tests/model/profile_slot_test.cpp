#include "model/profile_slot.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/profile.h"
#include "model/text_field.h"

namespace ms1 {
namespace {

// A profile with something in every part: a name, shared settings, a macro
// with its steps and the mode-record texts.
std::unique_ptr<ProfileRecord> FilledProfile() {
  auto profile = CreateProfile(u"Évora ✓ 49");
  SetSharedSetting(*profile, SharedSetting::kDpiValue, 160, 7);
  ButtonRecord macro = ButtonOf(ModeOf(*profile, 2), 17);
  macro.function_code = kFunctionMacro;
  SetFieldText(macro.macro_name, u"burst");
  macro.macro_action_count = kMaxMacroActions;
  for (int i = 0; i < kMaxMacroActions; ++i) macro.macro_actions[i] = {uint8_t(4 + i), 1, 0};
  profile->active_mode = 2;
  StoreButtonAssignment(*profile, 17, macro);
  SetFieldText(ModeOf(*profile, 4).text_b, u"last words");
  return profile;
}

bool SameBytes(const ProfileRecord& a, const ProfileRecord& b) {
  return std::memcmp(&a, &b, sizeof(ProfileRecord)) == 0;
}

TEST(ProfileSlot, APackedProfileGivesBackEveryByteAndItsNameWithoutUnpacking) {
  const auto original = FilledProfile();
  ProfileSlot slot(FilledProfile());
  slot.Pack();
  ASSERT_TRUE(slot.IsPacked());
  EXPECT_EQ(slot.Name(), u"Évora ✓ 49");
  auto copied = std::make_unique<ProfileRecord>();
  slot.CopyTo(*copied);
  EXPECT_TRUE(SameBytes(*copied, *original));
  EXPECT_TRUE(slot.IsPacked()) << "reading the name or the bytes must not unpack";

  const ProfileSlot copy = slot;
  EXPECT_TRUE(copy.IsPacked());
  EXPECT_TRUE(SameBytes(*slot, *original));
  EXPECT_FALSE(slot.IsPacked());
  EXPECT_TRUE(SameBytes(*copy, *original));
}

TEST(ProfileSlot, AnEditMadeAfterUnpackingIsKeptByTheNextPack) {
  ProfileSlot slot = ProfileSlot::PackedCopyOf(*FilledProfile());
  slot->modes[3].buttons[5].shortcut_key = 0x2c;
  SetFieldText(slot->name, u"renamed");
  slot.Pack();
  EXPECT_EQ(slot.Name(), u"renamed");
  EXPECT_EQ(slot->modes[3].buttons[5].shortcut_key, 0x2c);
  // Packing twice, or an unpacked slot's copy, changes nothing.
  slot.Pack();
  slot.Pack();
  const ProfileSlot copy = slot;
  EXPECT_EQ(copy.Name(), u"renamed");
  EXPECT_FALSE(ProfileSlot());
  EXPECT_EQ(ProfileSlot().get(), nullptr);
}

}  // namespace
}  // namespace ms1
