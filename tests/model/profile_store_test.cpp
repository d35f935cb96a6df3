#include "model/profile_store.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <thread>

#include "model/atomic_file.h"
#include "model/profile.h"
#include "model/text_field.h"
#include "model/unsent_edits_mark.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

std::string StoreBytes(int32_t selected, const std::vector<std::u16string>& names) {
  std::string bytes(reinterpret_cast<const char*>(&selected), 4);
  for (const auto& name : names) {
    auto p = CreateProfile(name);
    bytes.append(reinterpret_cast<const char*>(p.get()), kProfileRecordSize);
  }
  return bytes;
}

std::vector<std::u16string> Names(const ProfileList& profiles) {
  std::vector<std::u16string> names;
  for (const auto& p : profiles) names.push_back(FieldText(p->name));
  return names;
}

class ProfileStoreTest : public test::TempDirTest {
 protected:
  fs::path data = dir / "Data";
  fs::path store = dir / "Data" / "ms_1" / "pro.data";
  ProfileList profiles;
  int32_t selected = -7;

  void PutStore(const std::string& bytes) {
    fs::create_directories(store.parent_path());
    WriteBytes(store, bytes);
  }
  StoreLoad Load() { return LoadProfileStore(data, profiles, selected, u"Profile"); }
};

// The mark of unsent edits is a private empty file beside the store, and a
// link put in its place is neither followed nor taken for the mark.
TEST_F(ProfileStoreTest, TheMarkOfUnsentEditsComesAndGoes) {
  std::string error;
  EXPECT_FALSE(UnsentEditsMarked(data));
  for (const bool unsent : {true, true, false, false}) {
    ASSERT_TRUE(SetUnsentEditsMark(data, unsent, error)) << error;
    EXPECT_EQ(UnsentEditsMarked(data), unsent);
  }
  ASSERT_TRUE(SetUnsentEditsMark(data, true, error)) << error;
  struct stat st {};
  ASSERT_EQ(::stat(UnsentEditsMarkPath(data).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_size, 0);

  fs::remove(UnsentEditsMarkPath(data));
  fs::create_symlink(dir / "elsewhere", UnsentEditsMarkPath(data));
  EXPECT_FALSE(UnsentEditsMarked(data));
  EXPECT_FALSE(SetUnsentEditsMark(data, true, error));
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

// A first start finds no store; an empty one counts as missing.
TEST_F(ProfileStoreTest, AMissingOrEmptyStoreIsMadeWithOneDefaultProfile) {
  for (const bool empty : {false, true}) {
    SCOPED_TRACE(empty ? "empty" : "missing");
    if (empty) PutStore("");
    profiles.clear();
    selected = -7;
    const StoreLoad load = Load();
    EXPECT_TRUE(load.ok()) << load.problem;
    EXPECT_TRUE(load.created);
    EXPECT_EQ(Names(profiles), std::vector<std::u16string>{u"Profile1"});
    EXPECT_EQ(selected, 0);
    ASSERT_EQ(fs::file_size(store), 4 + kProfileRecordSize);
    const std::string bytes = ReadBytes(store);
    EXPECT_EQ(bytes.substr(0, 4), std::string(4, '\0'));
    EXPECT_EQ(std::memcmp(bytes.data() + 4, profiles[0].get(), kProfileRecordSize), 0);
  }
}

TEST_F(ProfileStoreTest, LoadsProfilesInFileOrderWithTheStoredSelection) {
  PutStore(StoreBytes(2, {u"A", u"B", u"C"}));
  const StoreLoad load = Load();
  EXPECT_TRUE(load.ok() && !load.created) << load.problem;
  EXPECT_EQ(Names(profiles), (std::vector<std::u16string>{u"A", u"B", u"C"}));
  EXPECT_EQ(selected, 2);
  EXPECT_TRUE(load.set_aside.empty());
}

TEST_F(ProfileStoreTest, OnlyTheSelectedProfileIsLoadedUnpackedAndASaveWritesTheSameBytes) {
  std::string bytes = StoreBytes(1, {u"A", u"B", u"C", u"D"});
  bytes[4 + 2 * kProfileRecordSize + 60'000] = 7;  // somewhere inside profile C
  PutStore(bytes);
  Load();
  ASSERT_EQ(profiles.size(), 4u);
  EXPECT_EQ(std::vector<bool>({profiles[0].IsPacked(), profiles[1].IsPacked(),
                               profiles[2].IsPacked(), profiles[3].IsPacked()}),
            std::vector<bool>({true, false, true, true}));
  profiles[3]->active_mode = 1;  // one unpacked by an edit, one never unpacked
  profiles[0].Pack();
  std::string error;
  ASSERT_TRUE(SaveProfileStore(data, profiles, 1, error)) << error;
  bytes[4 + 3 * kProfileRecordSize] = 1;
  EXPECT_TRUE(ReadBytes(store) == bytes);
}

TEST_F(ProfileStoreTest, SaveAfterADeleteWritesOneRecordFewerAndTheNewIndex) {
  PutStore(StoreBytes(2, {u"A", u"B", u"C"}));
  Load();
  profiles.erase(profiles.begin() + 2);
  std::string error;
  ASSERT_TRUE(SaveProfileStore(data, profiles, 1, error)) << error;
  EXPECT_EQ(ReadBytes(store), StoreBytes(1, {u"A", u"B"}));
}

TEST_F(ProfileStoreTest, AStoreOfTheWrongLengthKeepsWholeRecordsAndIsKeptAside) {
  std::string bytes = StoreBytes(1, {u"A", u"B"});
  bytes += std::string(1000, '\x55');  // a third record, cut short
  PutStore(bytes);
  const StoreLoad load = Load();
  EXPECT_FALSE(load.ok());
  EXPECT_NE(load.problem.find("damaged"), std::string::npos);
  EXPECT_EQ(Names(profiles), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(selected, 1);
  ASSERT_EQ(load.set_aside, store.parent_path() / "pro.data.damaged");
  // A later save replaces the store but not the damaged original.
  std::string error;
  ASSERT_TRUE(SaveProfileStore(data, profiles, selected, error)) << error;
  EXPECT_EQ(ReadBytes(load.set_aside), bytes);
  EXPECT_EQ(fs::file_size(store), 4 + 2 * kProfileRecordSize);

  // The next damaged store does not overwrite the first one kept aside.
  PutStore("abc");
  profiles.clear();
  const StoreLoad again = Load();
  EXPECT_EQ(again.set_aside, store.parent_path() / "pro.data.damaged_1");
  EXPECT_EQ(ReadBytes(again.set_aside), "abc");
  EXPECT_TRUE(again.created);
  EXPECT_EQ(profiles.size(), 1u);
}

TEST_F(ProfileStoreTest, AStoredIndexOutsideTheListSelectsTheFirstProfile) {
  for (int32_t index : {3, -1, 1000000}) {
    PutStore(StoreBytes(index, {u"A", u"B", u"C"}));
    profiles.clear();
    selected = 2;
    Load();
    EXPECT_EQ(selected, 0) << index;
  }
}

TEST_F(ProfileStoreTest, StoredRecordsAreMadeSafe) {
  auto p = CreateProfile(u"x");
  p->active_mode = 9;
  std::fill(std::begin(p->name), std::end(p->name), u'N');
  p->modes[3].buttons[7].macro_action_count = 500;
  std::fill(std::begin(p->modes[3].buttons[7].macro_name),
            std::end(p->modes[3].buttons[7].macro_name), u'M');
  std::string bytes(4, '\0');
  bytes.append(reinterpret_cast<const char*>(p.get()), kProfileRecordSize);
  PutStore(bytes);
  Load();
  ASSERT_EQ(profiles.size(), 1u);
  const ProfileRecord& loaded = *profiles[0];
  EXPECT_EQ(loaded.active_mode, 0);
  EXPECT_EQ(FieldText(loaded.name), std::u16string(49, u'N'));
  EXPECT_EQ(loaded.modes[3].buttons[7].macro_action_count, kMaxMacroActions);
  EXPECT_EQ(FieldText(loaded.modes[3].buttons[7].macro_name), std::u16string(23, u'M'));
}

TEST_F(ProfileStoreTest, AFailedSaveIsReportedAndKeepsThePreviousStore) {
  PutStore(StoreBytes(0, {u"A"}));
  Load();
  AddDefaultProfile(profiles, u"Profile");
  WriteCall old = ReplaceWriteCallForTesting([](int, const void*, std::size_t) -> ssize_t {
    errno = EIO;
    return -1;
  });
  std::string error;
  EXPECT_FALSE(SaveProfileStore(data, profiles, 1, error));
  ReplaceWriteCallForTesting(old);
  EXPECT_NE(error.find("pro.data"), std::string::npos);
  EXPECT_EQ(ReadBytes(store), StoreBytes(0, {u"A"}));
}

TEST_F(ProfileStoreTest, SavingWhereTheStoreFolderCannotBeMadeFails) {
  fs::create_directories(data);
  WriteBytes(data / "ms_1", "a file where the folder should be");
  ProfileList one;
  one.push_back(CreateProfile(u"A"));
  std::string error;
  EXPECT_FALSE(SaveProfileStore(data, one, 0, error));
  EXPECT_NE(error.find("ms_1"), std::string::npos);
  // Loading then still gives a usable list and says the first save failed.
  const StoreLoad load = Load();
  EXPECT_FALSE(load.ok());
  EXPECT_EQ(profiles.size(), 1u);
}

TEST_F(ProfileStoreTest, SavesFromTwoThreadsLeaveOneWholeStore) {
  ProfileList mine;
  mine.push_back(CreateProfile(u"Worker"));
  ProfileList theirs;
  theirs.push_back(CreateProfile(u"Interface"));
  theirs.push_back(CreateProfile(u"Second"));
  std::atomic<int> failures{0};
  auto saver = [&](const ProfileList& list, int32_t index) {
    for (int i = 0; i < 8; ++i) {
      std::string error;
      if (!SaveProfileStore(data, list, index, error)) ++failures;
    }
  };
  std::thread worker(saver, std::cref(mine), 0);
  std::thread ui(saver, std::cref(theirs), 1);
  worker.join();
  ui.join();
  EXPECT_EQ(failures.load(), 0);
  const std::string bytes = ReadBytes(store);
  EXPECT_TRUE(bytes == StoreBytes(0, {u"Worker"}) ||
              bytes == StoreBytes(1, {u"Interface", u"Second"}));
}

TEST_F(ProfileStoreTest, NamesCompareWithoutRegardToCase) {
  profiles.push_back(CreateProfile(u"Work"));
  profiles.push_back(CreateProfile(u"Äpfel"));
  EXPECT_TRUE(ProfileNameExists(profiles, u"work"));
  EXPECT_TRUE(ProfileNameExists(profiles, u"äPFEL"));
  EXPECT_FALSE(ProfileNameExists(profiles, u"Apfel"));
  EXPECT_EQ(FindProfile(profiles, u"ÄPFEL"), 1);
  EXPECT_EQ(FindProfile(profiles, u"Play"), -1);
}

TEST_F(ProfileStoreTest, DefaultProfilesAreNumberedAndUnique) {
  EXPECT_EQ(FieldText(AddDefaultProfile(profiles, u"Profile").name), u"Profile1");
  profiles.push_back(CreateProfile(u"profile3"));
  EXPECT_EQ(FieldText(AddDefaultProfile(profiles, u"Profile").name), u"Profile3_1");
  const std::u16string long_text(60, u'L');
  EXPECT_EQ(FieldText(AddDefaultProfile(profiles, long_text).name).size(), 49u);
}

}  // namespace
}  // namespace ms1
