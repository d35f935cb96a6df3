// The profile commands by name, as the program's bus service runs them: the
// window's list and the store follow each one, and a refusal changes nothing.
#include "ui/page_remote.h"

#include <gtest/gtest.h>

#include "device_page_fixture.h"

namespace ms1 {
namespace {

using Command = RemoteCall::Command;
using Kind = RemoteOutcome::Kind;
using PageRemoteTest = test::DevicePageTest;

TEST_F(PageRemoteTest, CommandsByNameChangeTheListAndTheStoreOrRefuseInMs1ctlsWords) {
  StoreProfiles({u"A", u"B"}, 0);
  Start("");

  const struct {
    RemoteCall call;
    Kind kind;
    const char* refusal;
    const char* listed;
  } cases[] = {
      {RemoteCall::Of(Command::kSelectProfile, "B"), Kind::kDone, "", "A,B *1"},
      {RemoteCall::Of(Command::kAddProfile, "C"), Kind::kDone, "", "A,B,C *2"},
      {RemoteCall::Of(Command::kAddProfile, "a"), Kind::kInvalidName,
       "a profile named \"a\" exists already", "A,B,C *2"},
      {RemoteCall::Of(Command::kRenameProfile, "B", "C"), Kind::kInvalidName,
       "a profile named \"C\" exists already", "A,B,C *2"},
      {RemoteCall::Of(Command::kRenameProfile, "C", "D"), Kind::kDone, "", "A,B,D *2"},
      // Another profile than the current one goes; the current stays.
      {RemoteCall::Of(Command::kDeleteProfile, "A"), Kind::kDone, "", "B,D *1"},
      {RemoteCall::Of(Command::kDeleteProfile, "Nobody"), Kind::kNotFound,
       "no profile named \"Nobody\"", "B,D *1"},
      {RemoteCall::Of(Command::kDeleteProfile, "D"), Kind::kDone, "", "B *0"},
      {RemoteCall::Of(Command::kDeleteProfile, "B"), Kind::kRefused,
       "the only profile cannot be deleted", "B *0"},
      {RemoteCall::Of(Command::kImportProfile, "", "", "/nowhere/x.pro"), Kind::kFailed, nullptr,
       "B *0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call.name + " " + c.call.other);
    const RemoteOutcome outcome = page->RunRemote(c.call);
    EXPECT_EQ(outcome.kind, c.kind);
    if (c.refusal != nullptr) {
      EXPECT_EQ(outcome.refusal, c.refusal);
    }
    EXPECT_EQ(Listed(), QString::fromLatin1(c.listed));
    EXPECT_EQ(StoredList(), Listed());
    const LiveState live = page->Live();
    EXPECT_EQ(QString::fromStdString(live.profiles.at(static_cast<std::size_t>(live.selected))),
              Entries().split(u',').value(Row()));
  }
}

}  // namespace
}  // namespace ms1
