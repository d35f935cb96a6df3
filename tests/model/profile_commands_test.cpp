#include "model/profile_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "model/data_folder_lock.h"
#include "model/profile.h"
#include "model/text_field.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

ProfileList ListOf(std::initializer_list<std::u16string_view> names) {
  ProfileList list;
  for (const auto name : names) list.push_back(CreateProfile(name));
  return list;
}

std::u16string JoinedNames(const ProfileList& list) {
  std::u16string out;
  for (const auto& p : list) out += FieldText(p->name);
  return out;
}

// The profile after a deleted selected one takes its place; after the last,
// the one before; other selections stay on their profile.
TEST(ProfileCommandsTest, DeleteKeepsASensibleSelection) {
  struct Case {
    std::size_t index;
    int32_t selected_before;
    bool deleted;
    std::u16string names_after;
    int32_t selected_after;
  };
  for (const Case& c : {Case{2, 2, true, u"AB", 1}, Case{0, 0, true, u"BC", 0},
                       Case{1, 1, true, u"AC", 1}, Case{0, 2, true, u"BC", 1},
                       Case{2, 0, true, u"AB", 0}, Case{3, 1, false, u"ABC", 1}}) {
    ProfileList list = ListOf({u"A", u"B", u"C"});
    int32_t selected = c.selected_before;
    EXPECT_EQ(DeleteProfileAt(list, selected, c.index), c.deleted) << c.index;
    EXPECT_EQ(JoinedNames(list), c.names_after) << c.index << " of " << c.selected_before;
    EXPECT_EQ(selected, c.selected_after) << c.index << " of " << c.selected_before;
  }
  ProfileList one = ListOf({u"Only"});
  int32_t selected = 0;
  EXPECT_FALSE(DeleteProfileAt(one, selected, 0));
  EXPECT_EQ(one.size(), 1u);
}

TEST(ProfileCommandsTest, NamesAreCheckedAsTheNameDialogDoes) {
  const ProfileList list = ListOf({u"Work", u"Büro"});
  struct Case {
    std::u16string name;
    ProfileNameCheck check;
  };
  for (const Case& c : {Case{u"", ProfileNameCheck::kEmpty},
                        Case{std::u16string(50, u'x'), ProfileNameCheck::kTooLong},
                        Case{std::u16string(49, u'x'), ProfileNameCheck::kOk},
                        Case{u"WORK", ProfileNameCheck::kTaken},
                        Case{u"bÜro", ProfileNameCheck::kTaken}, Case{u"Game", ProfileNameCheck::kOk}}) {
    EXPECT_EQ(CheckProfileName(list, c.name), c.check) << c.name.size();
  }
  ProfileList grown = ListOf({u"A", u"B"});
  int32_t selected = 0;
  AddNamedProfile(grown, selected, u"C");
  EXPECT_EQ(JoinedNames(grown), u"ABC");
  EXPECT_EQ(selected, 2);
  RenameProfileAt(grown, 0, u"Z");
  EXPECT_EQ(JoinedNames(grown), u"ZBC");
}

class DataFolderLockTest : public test::TempDirTest {};

// The lock is per open file, so a second holder in this process stands for
// another process; it is free again once the holder lets go.
TEST_F(DataFolderLockTest, OneHolderAtATime) {
  std::string error;
  DataFolderLock program, command;
  ASSERT_EQ(program.TryTake(dir, error), DataFolderLock::Result::kTaken) << error;
  EXPECT_EQ(program.TryTake(dir, error), DataFolderLock::Result::kTaken);  // held already
  EXPECT_EQ(command.TryTake(dir, error), DataFolderLock::Result::kBusy);
  EXPECT_EQ(command.Take(dir, std::chrono::milliseconds(60), error), DataFolderLock::Result::kBusy);
  EXPECT_FALSE(command.held());
  EXPECT_TRUE(DataFolderLock::IsHeld(dir));
  const std::optional<LockHolder> holder = DataFolderLock::HolderOf(dir);
  ASSERT_TRUE(holder.has_value()) << "the holder did not name itself";
  EXPECT_EQ(holder->pid, ::getpid());
  EXPECT_TRUE(holder->command.starts_with("ms1_model_tests")) << holder->command;
  program.Release();
  EXPECT_FALSE(DataFolderLock::IsHeld(dir));
  EXPECT_EQ(command.TryTake(dir, error), DataFolderLock::Result::kTaken);
  EXPECT_TRUE(fs::exists(DataFolderLock::LockPath(dir)));

  DataFolderLock nowhere;
  EXPECT_EQ(nowhere.TryTake(dir / "missing", error), DataFolderLock::Result::kUnavailable);
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

TEST(StoreLoadNoticeTest, NamesWhatWentWrongAndWhereTheFileWasKept) {
  StoreLoad fine, damaged, unreadable;
  damaged.problem = "pro.data: damaged (7 bytes)";
  damaged.set_aside = "/d/ms_1/pro.data.damaged";
  unreadable.problem = "macro.data: cannot be read";
  EXPECT_TRUE(NoticeOf({fine, fine}).text_key.empty());
  const StoreLoadNotice kept = NoticeOf({damaged, unreadable});
  EXPECT_EQ(kept.text_key, "store_kept_aside_text");
  EXPECT_EQ(kept.args, (std::vector<std::string>{
                           "pro.data: damaged (7 bytes); macro.data: cannot be read",
                           "/d/ms_1/pro.data.damaged"}));
  const StoreLoadNotice problem = NoticeOf({fine, unreadable});
  EXPECT_EQ(problem.text_key, "store_load_problem_text");
  EXPECT_EQ(problem.args, std::vector<std::string>{"macro.data: cannot be read"});
}

}  // namespace
}  // namespace ms1
