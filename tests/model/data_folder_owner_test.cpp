#include "model/data_folder_owner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "model/macro_store.h"
#include "model/profile_store.h"
#include "model/store_file.h"
#include "model/text_field.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using namespace std::chrono_literals;

MacroList OneMacro(std::u16string_view name) {
  MacroList macros;
  macros.push_back(std::make_unique<MacroRecord>());
  SetFieldText(macros[0]->name, name);
  return macros;
}

std::string BytesOf(const MacroList& macros) {
  return std::string(reinterpret_cast<const char*>(macros[0].get()), kMacroRecordSize);
}

class DataFolderOwnerTest : public test::TempDirTest {};

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A fresh data folder is made the user's alone, and one an earlier version
// left with the usual modes becomes so when the program takes it.
TEST_F(DataFolderOwnerTest, TheDataFolderIsTheUsersAlone) {
  const mode_t old_umask = ::umask(022);
  for (const bool upgraded : {false, true}) {
    SCOPED_TRACE(upgraded ? "upgraded" : "fresh");
    const fs::path data = dir / (upgraded ? "old" : "new");
    const fs::path store = StoreFolder(data);
    if (upgraded) {
      fs::create_directories(store);
      for (const char* name : {"pro.data", "macro.data", "pro.data.damaged"}) {
        WriteBytes(store / name, "");
      }
      WriteBytes(data / "ms1-config.lock", "");
      for (const fs::path& p : {data, store}) fs::permissions(p, fs::perms(0755));
    }
    DataFolderOwner owner(data);
    std::string error;
    ASSERT_EQ(owner.Take(0ms, error), upgraded ? DataFolderLock::Result::kTaken
                                               : DataFolderLock::Result::kUnavailable)
        << error;
    if (!upgraded) {  // the program makes the folder on its first save
      ASSERT_TRUE(SaveMacroStore(data, OneMacro(u"M"), error)) << error;
      ASSERT_TRUE(SaveProfileStore(data, {}, 0, error)) << error;
    }
    EXPECT_EQ(ModeOf(data), 0700u);
    EXPECT_EQ(ModeOf(store), 0700u);
    for (const fs::path& file : {store / "pro.data", store / "macro.data",
                                 data / "ms1-config.lock"}) {
      EXPECT_EQ(ModeOf(file), 0600u) << file;
    }
    if (upgraded) EXPECT_EQ(ModeOf(store / "pro.data.damaged"), 0600u);
  }
  ::umask(old_umask);
}

// A link planted where a store belongs is neither read nor written through:
// the file it names stays as it was, and the user is told why.
TEST_F(DataFolderOwnerTest, APlantedLinkIsNeitherReadNorWrittenThrough) {
  const fs::path data = dir / "Data";
  const fs::path victim = dir / "victim";
  WriteBytes(victim, BytesOf(OneMacro(u"Victim")));
  fs::create_directories(StoreFolder(data));
  fs::create_symlink(victim, MacroStorePath(data));
  MacroList macros;
  const StoreLoad load = LoadMacroStore(data, macros);
  EXPECT_TRUE(macros.empty());
  EXPECT_NE(load.problem.find("symbolic link"), std::string::npos) << load.problem;
  std::string error;
  EXPECT_FALSE(SaveMacroStore(data, OneMacro(u"Mine"), error));
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(victim), BytesOf(OneMacro(u"Victim")));
  EXPECT_TRUE(fs::is_symlink(MacroStorePath(data)));
}

// Saved over only when it is the version this process read or wrote last;
// any other is kept as it was found, and the owner told.
TEST_F(DataFolderOwnerTest, AStoreNotLoadedHereIsKeptAsideBeforeASave) {
  const std::string loaded = BytesOf(OneMacro(u"Loaded"));
  struct Case {
    const char* what;
    std::string before;  // empty: no store
    StoreAccess access;
    std::function<void(const fs::path&)> change;
    std::string kept;  // empty: nothing kept
  };
  const auto replace = [](const fs::path& p) {
    WriteBytes(p.string() + ".new", std::string(kMacroRecordSize, 'R'));
    fs::rename(p.string() + ".new", p);
  };
  const auto append = [](const fs::path& p) { std::ofstream(p, std::ios::app) << "+"; };
  const auto create = [](const fs::path& p) { WriteBytes(p, "new"); };
  // This process saves while it is reading the store: its own version stays known.
  const auto saved_while_read = [](const fs::path& p) {
    StoreLoad load;
    const StoreReader reading(p, load);
    std::string error;
    EXPECT_TRUE(SaveMacroStore(p.parent_path().parent_path(), OneMacro(u"Between"), error))
        << error;
  };
  for (const Case& c :
       {Case{"untouched", loaded, StoreAccess::kReadWrite, [](const fs::path&) {}, ""},
        Case{"removed", loaded, StoreAccess::kReadWrite, [](const fs::path& p) { fs::remove(p); },
             ""},
        Case{"replaced", loaded, StoreAccess::kReadWrite, replace,
             std::string(kMacroRecordSize, 'R')},
        Case{"written in place", loaded, StoreAccess::kReadWrite, append, loaded + "+"},
        Case{"made where none was", "", StoreAccess::kReadWrite, create, "new"},
        Case{"saved here while read", loaded, StoreAccess::kReadWrite, saved_while_read, ""},
        Case{"damaged, read only", "damaged", StoreAccess::kReadOnly, [](const fs::path&) {},
             "damaged"}}) {
    const fs::path data = dir / c.what;
    const fs::path store = MacroStorePath(data);
    fs::create_directories(store.parent_path());
    if (!c.before.empty()) WriteBytes(store, c.before);
    DataFolderOwner owner(data);
    std::string error;
    ASSERT_EQ(owner.Take(0ms, error), DataFolderLock::Result::kTaken) << error;
    std::vector<fs::path> told;
    owner.OnKeptAside([&told](const fs::path&, const fs::path& aside) { told.push_back(aside); });
    MacroList macros;
    LoadMacroStore(data, macros, c.access);
    c.change(store);

    const MacroList saved = OneMacro(u"Saved");
    ASSERT_TRUE(SaveMacroStore(data, saved, error)) << c.what << ": " << error;
    ASSERT_TRUE(SaveMacroStore(data, saved, error)) << c.what << ": " << error;  // its own version
    EXPECT_EQ(ReadBytes(store), BytesOf(saved)) << c.what;
    const fs::path aside = store.string() + ".changed";
    EXPECT_EQ(told, c.kept.empty() ? std::vector<fs::path>{} : std::vector{aside}) << c.what;
    EXPECT_EQ(ReadBytes(aside), c.kept) << c.what;
  }
}

TEST_F(DataFolderOwnerTest, NothingIsSavedWhileAnotherProcessHoldsTheFolder) {
  const fs::path leftover = StoreFolder(dir) / ".macro.data.tmp-1-1";
  fs::create_directories(leftover.parent_path());
  WriteBytes(leftover, "half a save");
  DataFolderLock other;
  std::string error;
  ASSERT_EQ(other.TryTake(dir, error), DataFolderLock::Result::kTaken) << error;
  DataFolderOwner owner(dir);
  EXPECT_EQ(owner.Take(0ms, error), DataFolderLock::Result::kBusy);

  EXPECT_FALSE(SaveMacroStore(dir, OneMacro(u"M"), error));
  // The holder is named from its lock file: here this very process.
  EXPECT_NE(error.find("(process " + std::to_string(::getpid()) + ")"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(MacroStorePath(dir)));
  EXPECT_TRUE(fs::exists(leftover));

  other.Release();
  ASSERT_TRUE(SaveMacroStore(dir, OneMacro(u"M"), error)) << error;
  EXPECT_TRUE(owner.owned());
  EXPECT_FALSE(fs::exists(leftover)) << "left by a crashed save, removed once the folder is ours";
}

}  // namespace
}  // namespace ms1
