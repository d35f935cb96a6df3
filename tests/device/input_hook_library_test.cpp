#include "device/driver/input_hook_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../libs/test_window.h"
#include "device/driver/folder_library.h"
#include "device/messages.h"
#include "support/fake_hook.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using Log = std::vector<std::string>;
using test::BoundEntryPoints;
using test::TakeHookLog;

const std::string kComplete = test::paths::FakeHooksFolder() + "/complete/";
const std::string kPartial =
    test::paths::FakeHooksFolder() + "/partial";  // without the final slash
// The complete library let go: both hooks ended, then the file unloaded.
const Log kCompleteUnloaded = {"complete removemousehook", "complete removehook",
                               "complete unloaded"};

// Whether the library file is still mapped into the process.
bool Mapped(const std::string& folder) {
  void* handle = dlopen(FolderLibraryPath(folder, kInputHookFile).c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

class InputHookLibraryTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    TakeHookLog();
  }
};

TEST_F(InputHookLibraryTest, BindsAllSevenEntryPointsAndPassesTheirArguments) {
  InputHookLibrary hook;
  ASSERT_TRUE(hook.Load(kComplete));
  EXPECT_TRUE(hook.IsLoaded());
  const InputHookTable& t = hook.Table();
  ASSERT_EQ(BoundEntryPoints(t), 7);

  test::TestWindow window;
  t.installmousehook();
  t.installhook(window.Handle());
  t.enablehook(1);
  t.enablemousehook(0);
  t.mousewheelenable(0);
  t.enablemousehook(1);
  t.removehook();
  t.enablehook(0);
  t.removemousehook();
  EXPECT_EQ(TakeHookLog(),
            (Log{"complete installmousehook", "complete installhook", "complete enablehook 1",
                 "complete enablemousehook 0", "complete mousewheelenable 0",
                 "complete enablemousehook 1", "complete removehook", "complete enablehook 0",
                 "complete removemousehook"}));
  // The handle crossed the interface intact: the library's event reached us.
  EXPECT_EQ(window.Messages(), (std::vector<test::PostedMessage>{{msg::kHookEvent, 0x41, 0}}));
}

TEST_F(InputHookLibraryTest, UnloadEndsBothHooksInOrderThenUnloadsOnlyOnce) {
  const InputHookTable* table = nullptr;
  {
    InputHookLibrary hook;
    table = &hook.Table();
    ASSERT_TRUE(hook.Load(kComplete));
    EXPECT_TRUE(Mapped(kComplete));
    EXPECT_TRUE(TakeHookLog().empty());  // loading calls nothing

    hook.Unload();
    EXPECT_EQ(TakeHookLog(), kCompleteUnloaded);
    EXPECT_FALSE(hook.IsLoaded());
    EXPECT_FALSE(Mapped(kComplete));
    // Holders of the table see no stale entry points, at the same address.
    EXPECT_EQ(&hook.Table(), table);
    EXPECT_EQ(BoundEntryPoints(*table), 0);

    hook.Unload();
  }
  EXPECT_TRUE(TakeHookLog().empty());  // neither a second Unload nor the destructor repeat it

  // Without an explicit Unload the destructor releases it the same way.
  {
    InputHookLibrary hook;
    ASSERT_TRUE(hook.Load(kComplete));
  }
  EXPECT_EQ(TakeHookLog(), kCompleteUnloaded);
}

TEST_F(InputHookLibraryTest, AMissingEntryPointStaysNullAndTheOthersWork) {
  InputHookLibrary hook;
  ASSERT_TRUE(hook.Load(kPartial));
  const InputHookTable& t = hook.Table();
  EXPECT_EQ(t.removemousehook, nullptr);
  EXPECT_EQ(BoundEntryPoints(t), 6);
  t.enablehook(1);
  t.mousewheelenable(0);
  EXPECT_EQ(TakeHookLog(), (Log{"partial enablehook 1", "partial mousewheelenable 0"}));

  // Only what is bound is called on the way out.
  hook.Unload();
  EXPECT_EQ(TakeHookLog(), (Log{"partial removehook", "partial unloaded"}));
}

TEST_F(InputHookLibraryTest, LoadingAgainReleasesTheLibraryHeldBefore) {
  InputHookLibrary hook;
  ASSERT_TRUE(hook.Load(kComplete));
  ASSERT_TRUE(hook.Load(kPartial));
  EXPECT_EQ(TakeHookLog(), kCompleteUnloaded);
  EXPECT_FALSE(Mapped(kComplete));
  EXPECT_EQ(hook.Table().removemousehook, nullptr);  // the table is the new library's alone
  EXPECT_EQ(BoundEntryPoints(hook.Table()), 6);
}

TEST_F(InputHookLibraryTest, NoFileOrAForeignFileLeavesEveryEntryNull) {
  InputHookLibrary hook;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(hook.Load(dir.string()));
  // No file is the ordinary case and says nothing.
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(hook.IsLoaded());
  EXPECT_EQ(BoundEntryPoints(hook.Table()), 0);

  // A file under the name that is no library is refused with a trace.
  test::WriteBytes(dir / kInputHookFile, "not a shared object\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(hook.Load(dir.string()));
  EXPECT_NE(testing::internal::GetCapturedStderr().find(kInputHookFile), std::string::npos);
  EXPECT_EQ(BoundEntryPoints(hook.Table()), 0);

  // A failed load after a good one leaves nothing of the old library behind.
  ASSERT_TRUE(hook.Load(kComplete));
  TakeHookLog();
  EXPECT_FALSE(hook.Load("/nonexistent/folder/"));
  EXPECT_EQ(TakeHookLog(), kCompleteUnloaded);
  EXPECT_EQ(BoundEntryPoints(hook.Table()), 0);
  hook.Unload();
  EXPECT_TRUE(TakeHookLog().empty());
}

}  // namespace
}  // namespace ms1
