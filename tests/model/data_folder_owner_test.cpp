#include "model/data_folder_owner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "model/macro_store.h"
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
  for (const Case& c :
       {Case{"untouched", loaded, StoreAccess::kReadWrite, [](const fs::path&) {}, ""},
        Case{"removed", loaded, StoreAccess::kReadWrite, [](const fs::path& p) { fs::remove(p); },
             ""},
        Case{"replaced", loaded, StoreAccess::kReadWrite, replace,
             std::string(kMacroRecordSize, 'R')},
        Case{"written in place", loaded, StoreAccess::kReadWrite, append, loaded + "+"},
        Case{"made where none was", "", StoreAccess::kReadWrite, create, "new"},
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
