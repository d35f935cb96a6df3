// The profile commands by name, as the program's bus service runs them: the
// window's list and the store follow each one, and a refusal changes nothing.
#include "ui/page_remote.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "device_page_fixture.h"
#include "model/text_field.h"

namespace ms1 {
namespace {

using Command = RemoteCall::Command;
using Kind = RemoteOutcome::Kind;

class PageRemoteTest : public test::DevicePageTest {
 protected:
  // The list as the window shows it, the current row marked: "A,*B".
  QString Shown() {
    auto* list = Control<QListWidget>("ms_1_list_profile");
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
      rows << (i == list->currentRow() ? "*" : "") + list->item(i)->text();
    }
    return rows.join(u',');
  }
  QString Stored() {
    ProfileList stored;
    int32_t selected = -1;
    LoadProfileStore(data.path().toStdString(), stored, selected, u"P");
    QStringList rows;
    for (std::size_t i = 0; i < stored.size(); ++i) {
      rows << (static_cast<int>(i) == selected ? "*" : "") +
                  QString::fromStdU16String(stored[i].Name());
    }
    return rows.join(u',');
  }
};

TEST_F(PageRemoteTest, CommandsByNameChangeTheListAndTheStoreOrRefuseInMs1ctlsWords) {
  ProfileList profiles;
  for (const auto* name : {u"A", u"B"}) profiles.push_back(CreateProfile(name));
  std::string error;
  ASSERT_TRUE(SaveProfileStore(data.path().toStdString(), profiles, 0, error)) << error;
  Start("");

  const struct {
    RemoteCall call;
    Kind kind;
    const char* refusal;
    const char* shown;
  } cases[] = {
      {RemoteCall::Of(Command::kSelectProfile, "B"), Kind::kDone, "", "A,*B"},
      {RemoteCall::Of(Command::kAddProfile, "C"), Kind::kDone, "", "A,B,*C"},
      {RemoteCall::Of(Command::kAddProfile, "a"), Kind::kInvalidName,
       "a profile named \"a\" exists already", "A,B,*C"},
      {RemoteCall::Of(Command::kRenameProfile, "B", "C"), Kind::kInvalidName,
       "a profile named \"C\" exists already", "A,B,*C"},
      {RemoteCall::Of(Command::kRenameProfile, "C", "D"), Kind::kDone, "", "A,B,*D"},
      // Another profile than the current one goes; the current stays.
      {RemoteCall::Of(Command::kDeleteProfile, "A"), Kind::kDone, "", "B,*D"},
      {RemoteCall::Of(Command::kDeleteProfile, "Nobody"), Kind::kNotFound,
       "no profile named \"Nobody\"", "B,*D"},
      {RemoteCall::Of(Command::kDeleteProfile, "D"), Kind::kDone, "", "*B"},
      {RemoteCall::Of(Command::kDeleteProfile, "B"), Kind::kRefused,
       "the only profile cannot be deleted", "*B"},
      {RemoteCall::Of(Command::kImportProfile, "", "", "/nowhere/x.pro"), Kind::kFailed, nullptr,
       "*B"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call.name + " " + c.call.other);
    const RemoteOutcome outcome = page->RunRemote(c.call);
    EXPECT_EQ(outcome.kind, c.kind);
    if (c.refusal != nullptr) {
      EXPECT_EQ(outcome.refusal, c.refusal);
    }
    EXPECT_EQ(Shown(), QString::fromLatin1(c.shown));
    EXPECT_EQ(Stored(), Shown());
    const LiveState live = page->Live();
    EXPECT_EQ(QString::fromStdString(live.profiles.at(static_cast<std::size_t>(live.selected))),
              Shown().section(u'*', 1).section(u',', 0, 0));
  }
}

}  // namespace
}  // namespace ms1
