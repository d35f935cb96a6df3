#include "model/profile_exchange.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/atomic_file.h"
#include "model/data_folder_stores.h"
#include "model/profile.h"
#include "model/profile_commands.h"
#include "model/text_field.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

void GiveMacro(ButtonRecord& b, std::u16string_view name, int steps) {
  b.function_code = kFunctionMacro;
  SetFieldText(b.macro_name, name);
  b.macro_action_count = static_cast<uint16_t>(steps);
  b.macro_loop_count = 3;
  for (int i = 0; i < steps; ++i)
    b.macro_actions[i] = {static_cast<uint8_t>(4 + i), kActionPress, 20};
}

class ExchangeTest : public test::TempDirTest {
 protected:
  fs::path data = dir / "Data";
  DataFolderStores stores{data};
  ProfileList profiles;
  MacroList macros;
  ProfileImport result;
  std::string error;

  fs::path Export(const ProfileRecord& p, const std::string& file = "p.pro") {
    EXPECT_TRUE(ExportProfile(dir / file, p, error)) << error;
    return dir / file;
  }
};

TEST_F(ExchangeTest, ADefaultProfileFileIsOneRecordStartingWithModeZeroAndTheName) {
  auto p = CreateProfile(u"Default");
  const std::string bytes = ReadBytes(Export(*p));
  ASSERT_EQ(bytes.size(), kProfileRecordSize);
  EXPECT_EQ(bytes.substr(0, 4), std::string(4, '\0'));
  EXPECT_EQ(bytes.substr(4, 4), std::string("D\0e\0", 4));
}

TEST_F(ExchangeTest, ImportRoundTripsAndRenamesOnlyTheName) {
  profiles.push_back(CreateProfile(u"Work"));
  profiles[0]->active_mode = 3;
  profiles[0]->modes[2].light_color = 0x123456;
  profiles[0]->modes[4].reserved_tail[99] = 0xAB;
  const fs::path file = Export(*profiles[0]);

  ASSERT_TRUE(ImportProfile(file, stores, profiles, macros, result, error)) << error;
  EXPECT_EQ(result.index, 1u);
  EXPECT_EQ(result.macros_added, 0u);
  EXPECT_EQ(FieldText(profiles[1]->name), u"Work_1");
  auto expected = std::make_unique<ProfileRecord>(*profiles[0]);
  SetFieldText(expected->name, u"Work_1");
  EXPECT_EQ(std::memcmp(expected.get(), profiles[1].get(), kProfileRecordSize), 0);

  ASSERT_TRUE(ImportProfile(file, stores, profiles, macros, result, error)) << error;
  EXPECT_EQ(FieldText(profiles[2]->name), u"Work_2");
  EXPECT_FALSE(fs::exists(data));  // no macro buttons: the macro store is not touched
}

TEST_F(ExchangeTest, EveryMacroButtonBecomesItsOwnUniqueMacroEntry) {
  macros.push_back(std::make_unique<MacroRecord>());
  SetFieldText(macros[0]->name, u"m");
  auto p = CreateProfile(u"Macros");
  for (ModeRecord& mode : p->modes) GiveMacro(mode.buttons[2], u"M", 5);
  GiveMacro(p->modes[0].buttons[16], u"Other", 2);  // any of the 18 buttons counts
  const fs::path file = Export(*p);

  ASSERT_TRUE(ImportProfile(file, stores, profiles, macros, result, error)) << error;
  EXPECT_EQ(result.macros_added, 6u);
  ASSERT_EQ(macros.size(), 7u);
  const std::u16string expected[] = {u"M_1", u"Other", u"M_2", u"M_3", u"M_4", u"M_5"};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(FieldText(macros[i + 1]->name), expected[i]) << i;
  const ProfileRecord& imported = *profiles[0];
  for (int mode_index = 0; mode_index < kModeCount; ++mode_index) {
    const ButtonRecord& b = imported.modes[mode_index].buttons[2];
    const MacroRecord& m = *macros[static_cast<std::size_t>(b.macro_index)];
    EXPECT_EQ(FieldText(b.macro_name), FieldText(m.name)) << mode_index;
    EXPECT_EQ(m.loop_count, 3);
    EXPECT_EQ(m.action_count, 5);
    EXPECT_EQ(std::memcmp(m.actions, b.macro_actions, sizeof(m.actions)), 0);
  }
  // The macro store on disk holds the grown list.
  EXPECT_EQ(fs::file_size(MacroStorePath(data)), 7 * kMacroRecordSize);
}

TEST_F(ExchangeTest, AForeignOrDamagedFileIsRefusedAndChangesNothing) {
  profiles.push_back(CreateProfile(u"Keep"));
  for (std::size_t size :
       {std::size_t{0}, std::size_t{4}, kProfileRecordSize - 1, kProfileRecordSize + 1}) {
    WriteBytes(dir / "bad.pro", std::string(size, '\x11'));
    error.clear();
    EXPECT_FALSE(ImportProfile(dir / "bad.pro", stores, profiles, macros, result, error));
    EXPECT_NE(error.find("not a profile file"), std::string::npos) << error;
  }
  EXPECT_FALSE(ImportProfile(dir / "missing.pro", stores, profiles, macros, result, error));
  EXPECT_EQ(profiles.size(), 1u);
  EXPECT_TRUE(macros.empty());
}

TEST_F(ExchangeTest, ImportedRecordsAreMadeSafe) {
  auto p = CreateProfile(u"x");
  p->active_mode = -4;
  std::fill(std::begin(p->name), std::end(p->name), u'Q');
  GiveMacro(p->modes[1].buttons[0], u"Huge", 3);
  p->modes[1].buttons[0].macro_action_count = 60000;
  const fs::path file = Export(*p);
  ASSERT_TRUE(ImportProfile(file, stores, profiles, macros, result, error)) << error;
  EXPECT_EQ(profiles[0]->active_mode, 0);
  EXPECT_EQ(FieldText(profiles[0]->name), std::u16string(49, u'Q'));
  EXPECT_EQ(macros[0]->action_count, kMaxMacroActions);
}

TEST_F(ExchangeTest, LongNamesAreShortenedToStayUniqueInTheirFields) {
  profiles.push_back(CreateProfile(std::u16string(49, u'P')));
  auto p = CreateProfile(std::u16string(49, u'P'));
  GiveMacro(p->modes[0].buttons[1], std::u16string(23, u'W'), 1);
  GiveMacro(p->modes[2].buttons[1], std::u16string(23, u'W'), 1);
  ASSERT_TRUE(ImportProfile(Export(*p), stores, profiles, macros, result, error)) << error;
  EXPECT_EQ(FieldText(profiles[1]->name), std::u16string(47, u'P') + u"_1");
  EXPECT_EQ(FieldText(macros[0]->name), std::u16string(23, u'W'));
  EXPECT_EQ(FieldText(macros[1]->name), std::u16string(21, u'W') + u"_1");
  EXPECT_EQ(FieldText(profiles[1]->modes[2].buttons[1].macro_name),
            std::u16string(21, u'W') + u"_1");
}

// An imported profile always gets a name that add and rename would take.
TEST_F(ExchangeTest, AnUnusableNameIsReplacedByTheFilesName) {
  struct Case {
    std::u16string stored;
    std::string file;
    std::u16string imported;
  };
  const Case cases[] = {
      {u"", "Arena.pro", u"Arena"},
      {u"   ", "Arena.pro", u"Arena_1"},  // the first import took "Arena"
      {u"Tab\there", "clan night.pro", u"clan night"},
      {u"", " .pro", u"Profile"},
      {u"Kept", "Other.pro", u"Kept"},
  };
  for (const Case& c : cases) {
    auto p = CreateProfile(u"x");
    SetFieldText(p->name, c.stored);
    ASSERT_TRUE(ImportProfile(Export(*p, c.file), stores, profiles, macros, result, error))
        << error;
    const std::u16string name = FieldText(profiles.back()->name);
    EXPECT_EQ(name, c.imported) << c.file;
    EXPECT_TRUE(UsableProfileName(name));
  }
  for (const auto& [name, check] :
       std::vector<std::pair<std::u16string, ProfileNameCheck>>{
           {u"", ProfileNameCheck::kEmpty}, {u" \u3000", ProfileNameCheck::kEmpty},
           {u"a\nb", ProfileNameCheck::kControl}, {u"Arena", ProfileNameCheck::kTaken},
           {u" Arena ", ProfileNameCheck::kOk}}) {
    EXPECT_EQ(CheckProfileName(profiles, name), check);
  }
}

TEST_F(ExchangeTest, AFailedMacroStoreSaveUndoesTheImport) {
  auto p = CreateProfile(u"With macro");
  GiveMacro(p->modes[0].buttons[3], u"M", 2);
  const fs::path file = Export(*p);
  fs::create_directories(data);
  WriteBytes(data / "ms_1", "not a folder");
  EXPECT_FALSE(ImportProfile(file, stores, profiles, macros, result, error));
  EXPECT_NE(error.find("ms_1"), std::string::npos);
  EXPECT_TRUE(profiles.empty());
  EXPECT_TRUE(macros.empty());
}

TEST_F(ExchangeTest, MacroFilesRoundTripAndGetUniqueNames) {
  MacroRecord m{};
  SetFieldText(m.name, u"Jump");
  m.loop_count = 4;
  m.action_count = 2;
  m.actions[0] = {0xF1, kActionPress, 30};
  m.actions[1] = {0xF1, kActionRelease, 10};
  ASSERT_TRUE(ExportMacro(dir / "j.macro", m, error)) << error;
  EXPECT_EQ(ReadBytes(dir / "j.macro"),
            std::string(reinterpret_cast<const char*>(&m), kMacroRecordSize));

  std::size_t index = 99;
  ASSERT_TRUE(ImportMacro(dir / "j.macro", stores, macros, index, error)) << error;
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(std::memcmp(macros[0].get(), &m, kMacroRecordSize), 0);
  ASSERT_TRUE(ImportMacro(dir / "j.macro", stores, macros, index, error)) << error;
  EXPECT_EQ(FieldText(macros[1]->name), u"Jump_1");
  ASSERT_TRUE(ImportMacro(dir / "j.macro", stores, macros, index, error)) << error;
  EXPECT_EQ(FieldText(macros[2]->name), u"Jump_2");
  EXPECT_EQ(fs::file_size(MacroStorePath(data)), 3 * kMacroRecordSize);

  WriteBytes(dir / "short.macro", std::string(239, '\0'));
  EXPECT_FALSE(ImportMacro(dir / "short.macro", stores, macros, index, error));
  EXPECT_NE(error.find("not a macro file"), std::string::npos);
  EXPECT_EQ(macros.size(), 3u);
}

TEST_F(ExchangeTest, MacroFilesOfAnotherLengthOrStepCountAreRefusedAndChangeNothing) {
  MacroRecord sound{};
  SetFieldText(sound.name, u"Sound");
  sound.action_count = 46;
  const std::string record(reinterpret_cast<const char*>(&sound), kMacroRecordSize);
  auto with_count = [&](int32_t count) {
    MacroRecord m = sound;
    m.action_count = count;
    return std::string(reinterpret_cast<const char*>(&m), kMacroRecordSize);
  };
  MacroRecord unfit = sound;  // 5 pauses above 1270 ms in 46 steps: 51 pairs
  for (int i = 0; i < 5; ++i) unfit.actions[i].delay_ms = 1271;
  struct Case {
    const char* what;
    std::string bytes;
    const char* error_part;
  };
  const Case cases[] = {
      {"empty", "", "0 bytes"},
      {"short", record.substr(0, 239), "239 bytes"},
      {"long", record + '\0', "241 bytes"},
      {"two records", record + record, "480 bytes"},
      {"47 steps", with_count(47), "47 steps"},
      {"negative count", with_count(-1), "-1 steps"},
      {"5 long pauses", {reinterpret_cast<const char*>(&unfit), 240}, "take 51 of"},
  };
  std::size_t index = 0;
  for (const Case& c : cases) {
    WriteBytes(dir / "m.macro", c.bytes);
    EXPECT_FALSE(ImportMacro(dir / "m.macro", stores, macros, index, error)) << c.what;
    EXPECT_NE(error.find(c.error_part), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(macros.empty()) << c.what;
    EXPECT_FALSE(fs::exists(MacroStorePath(data))) << c.what;
  }
  WriteBytes(dir / "m.macro", record);
  ASSERT_TRUE(ImportMacro(dir / "m.macro", stores, macros, index, error)) << error;
  EXPECT_EQ(macros[0]->action_count, 46);
}

TEST_F(ExchangeTest, AProfileWithAMacroTheMouseCannotHoldIsRefused) {
  auto p = CreateProfile(u"Work");
  GiveMacro(p->modes[3].buttons[7], u"Combo", 46);
  for (int i = 0; i < 11; ++i) p->modes[3].buttons[7].macro_actions[i].delay_ms = 1300;
  EXPECT_FALSE(ImportProfile(Export(*p), stores, profiles, macros, result, error));
  EXPECT_NE(error.find("\"Combo\" does not fit the mouse: its steps take 57"), error.npos);
  EXPECT_TRUE(profiles.empty() && macros.empty());
}

TEST_F(ExchangeTest, AFailedExportKeepsAnEarlierFile) {
  auto p = CreateProfile(u"A");
  Export(*p);
  const std::string before = ReadBytes(dir / "p.pro");
  WriteCall old = ReplaceWriteCallForTesting(+[](int fd, const void* d, std::size_t n) -> ssize_t {
    if (n > 1000) return ::write(fd, d, 1000);  // a short write, then the disk is full
    errno = ENOSPC;
    return -1;
  });
  auto other = CreateProfile(u"B");
  EXPECT_FALSE(ExportProfile(dir / "p.pro", *other, error));
  ReplaceWriteCallForTesting(old);
  EXPECT_EQ(ReadBytes(dir / "p.pro"), before);
}

}  // namespace
}  // namespace ms1
