#include "model/macro_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/data_folder_stores.h"
#include "model/profile.h"
#include "model/text_field.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

std::unique_ptr<MacroRecord> Macro(std::u16string_view name, int steps, uint8_t key = 4) {
  auto m = std::make_unique<MacroRecord>();
  SetFieldText(m->name, name);
  m->loop_count = 1;
  m->action_count = steps;
  for (int i = 0; i < steps; ++i) {
    m->actions[i] = {key, static_cast<uint8_t>(i % 2 ? kActionRelease : kActionPress),
                     static_cast<uint16_t>(10 * i)};
  }
  return m;
}

std::string Bytes(const MacroRecord& m) {
  return std::string(reinterpret_cast<const char*>(&m), kMacroRecordSize);
}

class MacroStoreTest : public test::TempDirTest {
 protected:
  fs::path data = dir / "Data";
  fs::path store = dir / "Data" / "ms_1" / "macro.data";
  MacroList macros;

  void PutStore(const std::string& bytes) {
    fs::create_directories(store.parent_path());
    WriteBytes(store, bytes);
  }
};

TEST_F(MacroStoreTest, MissingOrEmptyStoreGivesAnEmptyListAndCreatesNothing) {
  EXPECT_TRUE(LoadMacroStore(data, macros).ok());
  EXPECT_TRUE(macros.empty());
  EXPECT_FALSE(fs::exists(data));
  PutStore("");
  EXPECT_TRUE(LoadMacroStore(data, macros).ok());
  EXPECT_TRUE(macros.empty());
}

TEST_F(MacroStoreTest, SavesAndLoadsByteForByte) {
  macros.push_back(Macro(u"Ärger", 3));
  macros.push_back(Macro(u"Build", 46));
  std::string error;
  ASSERT_TRUE(SaveMacroStore(data, macros, error)) << error;
  EXPECT_EQ(ReadBytes(store), Bytes(*macros[0]) + Bytes(*macros[1]));
  MacroList loaded;
  EXPECT_TRUE(LoadMacroStore(data, loaded).ok());
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(Bytes(*loaded[1]), Bytes(*macros[1]));
  // An empty list is an empty file.
  ASSERT_TRUE(SaveMacroStore(data, {}, error)) << error;
  EXPECT_EQ(fs::file_size(store), 0u);
}

TEST_F(MacroStoreTest, AStoreOfTheWrongLengthKeepsWholeRecordsAndIsKeptAside) {
  const std::string bytes = Bytes(*Macro(u"A", 2)) + std::string(100, '\x01');
  PutStore(bytes);
  const StoreLoad load = LoadMacroStore(data, macros);
  EXPECT_FALSE(load.ok());
  ASSERT_EQ(macros.size(), 1u);
  EXPECT_EQ(FieldText(macros[0]->name), u"A");
  EXPECT_EQ(ReadBytes(load.set_aside), bytes);
}

TEST_F(MacroStoreTest, StoredMacrosAreMadeSafe) {
  auto bad = Macro(u"x", 0);
  bad->action_count = 1000;
  std::fill(std::begin(bad->name), std::end(bad->name), u'Z');
  auto negative = Macro(u"y", 0);
  negative->action_count = -5;
  PutStore(Bytes(*bad) + Bytes(*negative));
  LoadMacroStore(data, macros);
  ASSERT_EQ(macros.size(), 2u);
  EXPECT_EQ(macros[0]->action_count, kMaxMacroActions);
  EXPECT_EQ(FieldText(macros[0]->name), std::u16string(23, u'Z'));
  EXPECT_EQ(macros[1]->action_count, 0);
}

TEST_F(MacroStoreTest, AddMacroNumbersUniquelyAndSaves) {
  DataFolderStores stores{data};
  std::string error;
  ASSERT_TRUE(AddMacro(stores, macros, u"M", error)) << error;
  EXPECT_EQ(FieldText(macros.back()->name), u"M1");
  EXPECT_EQ(Bytes(*macros.back()).substr(48), std::string(kMacroRecordSize - 48, '\0'));
  macros.push_back(Macro(u"m2", 0));
  ASSERT_TRUE(AddMacro(stores, macros, u"M", error)) << error;
  EXPECT_EQ(FieldText(macros.back()->name), u"M3");
  macros.erase(macros.begin());  // two entries: m2 and M3; the next candidate is M3
  ASSERT_TRUE(AddMacro(stores, macros, u"M", error)) << error;
  EXPECT_EQ(FieldText(macros.back()->name), u"M3_1");
  EXPECT_EQ(fs::file_size(store), 3 * kMacroRecordSize);
  ASSERT_TRUE(AddMacro(stores, macros, std::u16string(30, u'L'), error)) << error;
  EXPECT_EQ(FieldText(macros.back()->name).size(), 23u);
}

TEST_F(MacroStoreTest, FindsAButtonsMacroWithoutRegardToCase) {
  ButtonRecord button{};
  SetFieldText(button.macro_name, u"ΜΑΚΡΟ");
  EXPECT_EQ(FindMacroForButton(macros, button), -1);
  macros.push_back(Macro(u"other", 1));
  macros.push_back(Macro(u"μακρο", 1));
  macros.push_back(Macro(u"Μακρο", 1));
  EXPECT_EQ(FindMacroForButton(macros, button), 1);
}

class ResyncTest : public ::testing::Test {
 protected:
  ProfileList profiles;
  MacroList macros;

  void SetUp() override {
    profiles.push_back(CreateProfile(u"One"));
    profiles.push_back(CreateProfile(u"Two"));
    macros.push_back(Macro(u"Fire", 4, 9));
  }
  static void AssignMacro(ButtonRecord& b, std::u16string_view name, int steps) {
    b.function_code = kFunctionMacro;
    SetFieldText(b.macro_name, name);
    b.macro_action_count = static_cast<uint16_t>(steps);
    b.macro_repeat_mode = 2;
    b.macro_loop_count = 7;
    b.macro_index = 5;
  }
};

TEST_F(ResyncTest, RefreshesCopiesOfAnEditedMacroAndKeepsRepeatSettings) {
  ButtonRecord& b = profiles[1]->modes[2].buttons[3];
  AssignMacro(b, u"FIRE", 1);
  b.reserved_70[0] = 0x77;
  EXPECT_FALSE(ResyncAssignedMacros(profiles, macros, profiles[0].get()));
  EXPECT_EQ(FieldText(b.macro_name), u"Fire");
  EXPECT_EQ(b.macro_action_count, 4);
  EXPECT_EQ(std::memcmp(b.macro_actions, macros[0]->actions, sizeof(b.macro_actions)), 0);
  EXPECT_EQ(b.macro_repeat_mode, 2);
  EXPECT_EQ(b.macro_loop_count, 7);
  EXPECT_EQ(b.macro_index, 5);
  EXPECT_EQ(b.reserved_70[0], 0x77);
  EXPECT_EQ(b.function_code, kFunctionMacro);
}

TEST_F(ResyncTest, ButtonsOfADeletedMacroFallBackToTheirDefault) {
  AssignMacro(profiles[0]->modes[0].buttons[2], u"Gone", 3);
  AssignMacro(profiles[0]->modes[1].buttons[10], u"Gone", 3);
  EXPECT_TRUE(ResyncAssignedMacros(profiles, macros, profiles[0].get()));

  const ButtonRecord& b2 = profiles[0]->modes[0].buttons[2];
  EXPECT_EQ(b2.function_code, 3);
  EXPECT_EQ(b2.macro_index, -1);
  EXPECT_EQ(b2.button_index, 0);  // the whole record starts from zero
  EXPECT_EQ(b2.reserved_8, 0);
  EXPECT_TRUE(FieldText(b2.macro_name).empty());
  EXPECT_EQ(profiles[0]->modes[1].buttons[10].function_code, 71);  // the mode 0 column: mute
}

// Only macro buttons of the buttons that offer macros follow the list: a
// button given another function keeps it, whatever name an older store left.
TEST_F(ResyncTest, WhichButtonsFollowTheMacroList) {
  struct Case {
    int button;
    uint8_t function;
    bool follows;
  };
  const Case cases[] = {
      {0, kFunctionMacro, true},      {11, kFunctionMacro, true},  {12, kFunctionMacro, false},
      {15, kFunctionMacro, false},    {16, kFunctionMacro, true},  {17, kFunctionMacro, true},
      {5, kFunctionShortcut, false},  {17, 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    for (const char16_t* name : {u"Gone", u"FIRE"}) {
      ProfileList list;
      list.push_back(CreateProfile(u"One"));
      ButtonRecord& b = list[0]->modes[3].buttons[c.button];
      AssignMacro(b, name, 1);
      b.function_code = c.function;
      const auto before = std::make_unique<ProfileRecord>(*list[0]);
      EXPECT_EQ(ResyncAssignedMacros(list, macros, list[0].get()), c.follows);
      if (!c.follows) {
        EXPECT_EQ(std::memcmp(before.get(), list[0].get(), kProfileRecordSize), 0);
      } else if (name == std::u16string_view(u"Gone")) {
        EXPECT_EQ(b.function_code, DefaultFunctionCode(0, c.button));
      } else {
        EXPECT_EQ(FieldText(b.macro_name), u"Fire");
        EXPECT_EQ(b.macro_action_count, 4);
      }
    }
  }
}

// Renames count at once: swapped names swap buttons, none is followed twice.
TEST_F(ResyncTest, ButtonsFollowTheirMacroUnderItsNewName) {
  macros.push_back(Macro(u"Jump", 2, 5));
  SetFieldText(macros[0]->name, u"Jump");
  SetFieldText(macros[1]->name, u"Fire");
  const MacroRename renames[] = {{u"Fire", u"Jump"}, {u"jump", u"Fire"}};
  ButtonRecord& fire = profiles[0]->modes[0].buttons[1];
  ButtonRecord& jump = profiles[1]->modes[4].buttons[17];
  AssignMacro(fire, u"FIRE", 1);
  AssignMacro(jump, u"Jump", 1);
  EXPECT_TRUE(ResyncAssignedMacros(profiles, macros, profiles[1].get(), renames));
  EXPECT_EQ(FieldText(fire.macro_name) + FieldText(jump.macro_name), u"JumpFire");
  EXPECT_EQ(fire.macro_action_count, 4);  // the steps it played before
}

TEST_F(ResyncTest, AnEmptyMacroListClearsEveryVisitedMacroButton) {
  AssignMacro(profiles[1]->modes[3].buttons[0], u"Fire", 4);
  macros.clear();
  EXPECT_TRUE(ResyncAssignedMacros(profiles, macros, profiles[1].get()));
  EXPECT_EQ(profiles[1]->modes[3].buttons[0].function_code, 1);
}

}  // namespace
}  // namespace ms1
