// `ms1ctl profiles ...` and `ms1ctl macros ...` on real store folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "model/data_folder_lock.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/profile_exchange.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "support/run.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::Lines;
using test::ReadBytes;

class StoreCommandsTest : public test::TempDirTest {
 protected:
  fs::path data = dir / "data";
  fs::path store = dir / "data" / "ms_1" / "pro.data";

  test::RunResult Ctl(std::vector<std::string> args, bool with_data = true) {
    args.insert(args.begin(), test::paths::Ms1ctlFile());
    if (with_data) {
      args.push_back("--data");
      args.push_back(data.string());
    }
    return test::Run(args);
  }
  void Ok(const std::vector<std::string>& args) {
    const auto r = Ctl(args);
    EXPECT_EQ(r.exit_code, 0) << args[0] << " " << args[1] << ": " << r.err;
  }
  void Refused(const std::vector<std::string>& args, const std::string& message) {
    const std::string before = ReadBytes(store);
    const auto r = Ctl(args);
    EXPECT_NE(r.exit_code, 0) << args[1];
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(store), before) << args[1];
  }
  // A writing command makes the store, with its default profile, where there
  // was none; reading commands do not.
  void MakeStore() { Ok({"profiles", "select", "Profile 1"}); }
  json ListJson() {
    const auto r = Ctl({"profiles", "list", "--json"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return json::parse(r.out);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    const json list = ListJson();
    for (const json& p : list["profiles"]) names.push_back(p["name"]);
    return names;
  }
};

TEST_F(StoreCommandsTest, ProfileCommandsEditTheStore) {
  for (const std::vector<std::string>& read :
       {std::vector<std::string>{"profiles", "list"}, {"macros", "list"}}) {
    const auto first = Ctl(read);
    ASSERT_EQ(first.exit_code, 0) << first.err;
    EXPECT_FALSE(fs::exists(data)) << read[0] << " " << read[1] << " wrote";
  }
  EXPECT_EQ(Lines(Ctl({"profiles", "list"}).out), std::vector<std::string>{"* 0 Profile 1"});

  Ok({"profiles", "add", "Büro"});
  EXPECT_EQ(fs::file_size(store), 4 + 2 * kProfileRecordSize);
  Ok({"profiles", "add", "Game"});
  EXPECT_EQ(ListJson()["selected"], 2);  // an added profile becomes current
  Refused({"profiles", "add", "bÜRO"}, "exists already");
  Refused({"profiles", "add", ""}, "must not be empty");
  Refused({"profiles", "add", std::string(50, 'x')}, "at most 49");
  Refused({"profiles", "rename", "game", "büro"}, "exists already");
  Refused({"profiles", "rename", "Game", "GAME"}, "exists already");  // its own name counts too
  Refused({"profiles", "delete", "Nobody"}, "no profile named");

  Ok({"profiles", "rename", "GAME", "Spiel"});
  Ok({"profiles", "select", "büro"});
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile 1", "Büro", "Spiel"}));
  EXPECT_EQ(ListJson()["selected"], 1);

  Ok({"profiles", "delete", "Profile 1"});  // before the selection: it stays on Büro
  EXPECT_EQ(ListJson()["selected"], 0);
  Ok({"profiles", "select", "Spiel"});
  Ok({"profiles", "delete", "Spiel"});  // the last and current one: the one before takes over
  EXPECT_EQ(Names(), std::vector<std::string>{"Büro"});
  EXPECT_EQ(ListJson()["selected"], 0);
  Refused({"profiles", "delete", "Büro"}, "only profile");
}

TEST_F(StoreCommandsTest, ResetKeepsTheNameAndBringsTheDefaultsBack) {
  MakeStore();
  ProfileList profiles;
  int32_t selected = 0;
  LoadProfileStore(data, profiles, selected, u"Profile");
  profiles[0]->active_mode = 2;
  profiles[0]->modes[1].light_brightness = 1;
  std::string error;
  ASSERT_TRUE(SaveProfileStore(data, profiles, 0, error)) << error;
  Ok({"profiles", "reset", "profile 1"});
  const std::string bytes = ReadBytes(store);
  const auto expected = CreateProfile(u"Profile 1");
  EXPECT_EQ(bytes.substr(4),
            std::string(reinterpret_cast<const char*>(expected.get()), kProfileRecordSize));
}

TEST_F(StoreCommandsTest, ExportedProfilesRoundTripByteForByteApartFromTheName) {
  MakeStore();
  ProfileList profiles;
  int32_t selected = 0;
  LoadProfileStore(data, profiles, selected, u"Profile");
  ProfileRecord& p = *profiles[0];
  p.active_mode = 4;
  p.modes[3].dpi_color[2] = 0x00ABCDEF;
  p.modes[0].reserved_tail[7] = 0x5A;
  ButtonRecord& b = p.modes[2].buttons[4];
  b.function_code = kFunctionMacro;
  SetFieldText(b.macro_name, u"Μακρο");
  b.macro_action_count = 2;
  b.macro_loop_count = 3;
  b.macro_actions[0] = {0x04, kActionPress, 25};
  b.macro_actions[1] = {0x04, kActionRelease, 10};
  std::string error;
  ASSERT_TRUE(SaveProfileStore(data, profiles, 0, error)) << error;

  const std::string exported = (dir / "p.pro").string();
  Ok({"profiles", "export", "PROFILE 1", "-o", exported});
  const auto imported = Ctl({"profiles", "import", exported, "--json"});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  const json result = json::parse(imported.out);
  EXPECT_EQ(result["name"], "Profile 1_1");
  EXPECT_EQ(result["macros_added"], json::array({"Μακρο"}));
  EXPECT_EQ(ListJson()["selected"], 1);

  const std::string again = (dir / "again.pro").string();
  Ok({"profiles", "export", "Profile 1_1", "-o", again});
  std::string original = ReadBytes(exported);
  std::string copy = ReadBytes(again);
  ASSERT_EQ(copy.size(), kProfileRecordSize);
  // Only the name differs, and the button's macro_index now points at its entry.
  constexpr std::size_t kName = 4, kNameBytes = 100;
  const std::size_t index_at =
      104 + 2 * kModeRecordSize + kButtonAreaOffset + 4 * kButtonRecordSize + 1072;
  EXPECT_EQ(copy.substr(index_at, 4), std::string(4, '\0'));
  original.replace(index_at, 4, std::string(4, '\0'));
  EXPECT_EQ(copy.substr(0, kName), original.substr(0, kName));
  EXPECT_EQ(copy.substr(kName + kNameBytes), original.substr(kName + kNameBytes));

  const auto shown = Ctl({"macros", "show", "μακρο", "--json"});
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  const json macro = json::parse(shown.out);
  EXPECT_EQ(macro["loop_count"], 3);
  EXPECT_EQ(macro["steps"].size(), 2u);
  EXPECT_EQ(macro["steps"][0]["delay_ms"], 25);
}

TEST_F(StoreCommandsTest, MacroFilesRoundTripByteForByte) {
  MacroList macros;
  macros.push_back(std::make_unique<MacroRecord>());
  SetFieldText(macros[0]->name, u"Jump");
  macros[0]->loop_count = 2;
  macros[0]->action_count = 1;
  macros[0]->actions[0] = {0xF1, kActionPress, 40};
  std::string error;
  ASSERT_TRUE(SaveMacroStore(data, macros, error)) << error;

  const std::string file = (dir / "jump.macro").string();
  Ok({"macros", "export", "JUMP", "-o", file});
  EXPECT_EQ(ReadBytes(file),
            std::string(reinterpret_cast<const char*>(macros[0].get()), kMacroRecordSize));
  const auto imported = Ctl({"macros", "import", file});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_EQ(imported.out, "Jump_1\n");
  Ok({"macros", "export", "jump_1", "-o", (dir / "copy.macro").string()});
  std::string copy = ReadBytes(dir / "copy.macro");
  std::string original = ReadBytes(file);
  EXPECT_EQ(copy.substr(48), original.substr(48));

  const auto list = Ctl({"macros", "list"});
  EXPECT_EQ(Lines(list.out), (std::vector<std::string>{"Jump (1 steps)", "Jump_1 (1 steps)"}));
  const auto show = Ctl({"macros", "show", "jump"});
  EXPECT_EQ(Lines(show.out),
            (std::vector<std::string>{"Macro \"Jump\", loops 2", "  press Left button (0xF1), wait 40 ms"}));
}

TEST_F(StoreCommandsTest, ForeignFilesAreRefusedAndChangeNothing) {
  MakeStore();
  const std::string macros_before = ReadBytes(MacroStorePath(data));
  test::WriteBytes(dir / "short.pro", "not a profile");
  Refused({"profiles", "import", (dir / "short.pro").string()}, "not a profile file");
  test::WriteBytes(dir / "long.macro", std::string(241, '\0'));
  Refused({"macros", "import", (dir / "long.macro").string()}, "not a macro file");
  Refused({"profiles", "import", (dir / "missing.pro").string()}, "missing.pro");
  EXPECT_EQ(ReadBytes(MacroStorePath(data)), macros_before);
  Refused({"macros", "show", "Nothing"}, "no macro named");
}

TEST_F(StoreCommandsTest, AFailedSaveExitsNonZero) {
  fs::create_directories(data);
  test::WriteBytes(data / "ms_1", "a file where the store folder belongs");
  const auto r = Ctl({"profiles", "add", "New"});
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("ms_1"), std::string::npos) << r.err;
}

std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// A reading command leaves the folder as it found it: a damaged store is only
// reported, and what a crashed save left behind stays. A writing command keeps
// the damaged store aside and clears the leftovers.
TEST_F(StoreCommandsTest, OnlyWritingCommandsKeepADamagedStoreAsideAndClearLeftovers) {
  fs::create_directories(store.parent_path());
  test::WriteBytes(store, "garbage");
  for (const char* leftover : {".pro.data.tmp-1-0", ".macro.data.tmp-1-1"}) {
    test::WriteBytes(store.parent_path() / leftover, "half a save");
  }
  const std::set<std::string> before = NamesIn(store.parent_path());
  const auto r = Ctl({"profiles", "list"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
  EXPECT_EQ(Lines(r.out), std::vector<std::string>{"* 0 Profile 1"});
  EXPECT_EQ(NamesIn(store.parent_path()), before);
  EXPECT_EQ(ReadBytes(store), "garbage");

  Ok({"profiles", "add", "New"});
  EXPECT_EQ(ReadBytes(store.parent_path() / "pro.data.damaged"), "garbage");
  EXPECT_EQ(NamesIn(store.parent_path()), (std::set<std::string>{"pro.data", "pro.data.damaged"}));
}

// While the program runs it holds the data folder; a profile added beside it
// would vanish at its next save, so writing commands refuse and change
// nothing, and reading ones still work.
TEST_F(StoreCommandsTest, WritingCommandsRefuseWhileTheProgramOwnsTheDataFolder) {
  Ok({"profiles", "add", "Work"});
  test::WriteBytes(dir / "p.pro", ReadBytes(store).substr(4, kProfileRecordSize));
  MacroList macros;
  macros.push_back(std::make_unique<MacroRecord>());
  SetFieldText(macros[0]->name, u"M");
  std::string error;
  ASSERT_TRUE(SaveMacroStore(data, macros, error)) << error;
  ASSERT_TRUE(ExportMacro(dir / "m.macro", *macros[0], error)) << error;

  DataFolderLock program;
  ASSERT_EQ(program.TryTake(data, error), DataFolderLock::Result::kTaken) << error;
  const std::string macros_before = ReadBytes(MacroStorePath(data));
  const std::vector<std::vector<std::string>> writes = {
      {"profiles", "add", "New"},           {"profiles", "delete", "Work"},
      {"profiles", "rename", "Work", "W"},  {"profiles", "reset", "Work"},
      {"profiles", "select", "Profile 1"},  {"profiles", "import", (dir / "p.pro").string()},
      {"macros", "import", (dir / "m.macro").string()}};
  // The holder is named from the lock file: here this test's own process.
  const std::string holder = "(process " + std::to_string(::getpid()) + ")";
  for (const auto& command : writes) Refused(command, "is in use by ms1_cli_tests");
  Refused(writes[0], holder);
  EXPECT_EQ(ReadBytes(MacroStorePath(data)), macros_before);
  for (const std::vector<std::string>& read :
       {std::vector<std::string>{"profiles", "list"}, {"macros", "list"}, {"macros", "show", "M"},
        {"profiles", "export", "Work", "-o", (dir / "out.pro").string()}}) {
    Ok(read);
  }

  program.Release();
  Ok({"profiles", "add", "New"});
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile 1", "Work", "New"}));
}

TEST_F(StoreCommandsTest, WithoutDataTheProgramsDataFolderIsUsed) {
  // ms1ctl looks beside itself, as the program does.
  const fs::path copy = dir / "bin" / "ms1ctl";
  fs::create_directories(copy.parent_path());
  fs::copy_file(test::paths::Ms1ctlFile(), copy);
  const auto r = test::Run({copy.string(), "profiles", "add", "Beside"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir / "bin" / "Data" / "ms_1" / "pro.data"));
}

}  // namespace
}  // namespace ms1
