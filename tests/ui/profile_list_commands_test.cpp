// The six profile commands in the real window on the real skin: without a
// mouse for the rules of each command, and on the virtual mouse for what
// reaches the store and the mouse.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <cerrno>
#include <cstring>

#include "device_page_fixture.h"
#include "model/atomic_file.h"
#include "model/data_folder_lock.h"
#include "model/macro_store.h"
#include "model/profile_file.h"
#include "model/text_field.h"
#include "page_dialog_answers.h"
#include "support/qt_wait.h"
#include "ui/profile_file_dialog.h"

namespace ms1 {
namespace {

bool SameBytes(const ProfileRecord& a, const ProfileRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

class ProfileCommands : public test::DevicePageTest {
 protected:
  void SetUp() override { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true); }

  // The program, again when it ran already, on the stored profiles.
  void StartOn(std::initializer_list<std::u16string_view> names, int selected,
               const std::string& plugged = "") {
    window.reset();
    StoreProfiles(names, selected);
    if (sim == nullptr) {
      Start(plugged);
    } else {
      StartWindow();
    }
  }
  std::size_t StoredMacros() {
    MacroList macros;
    LoadMacroStore(data.path().toStdString(), macros);
    return macros.size();
  }
};

TEST_F(ProfileCommands, DeleteAsksFirstAndSelectsTheFollowingOrThePreviousProfile) {
  const struct {
    int selected;
    bool confirm;
    const char* entries;
    int current;
  } cases[] = {
      {2, true, "A,B", 1}, {0, true, "B,C", 0}, {1, true, "A,C", 1}, {1, false, "A,B,C", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "deleting " << c.selected << " confirmed " << c.confirm);
    StartOn({u"A", u"B", u"C"}, c.selected);
    test::Seen asked;
    test::AnswerBox(c.confirm, asked);
    Click("ms_1_profile_delete_btn");
    EXPECT_EQ(asked.message, QStringLiteral("delete_profile_text"));
    EXPECT_EQ(asked.title, QStringLiteral("warning_title_text"));
    EXPECT_EQ(asked.owner, window.get());
    EXPECT_EQ(Entries(), QString::fromLatin1(c.entries));
    EXPECT_EQ(Row(), c.current);
    EXPECT_EQ(CurrentName(), Entries().split(u',')[c.current]);
    if (c.confirm) {
      EXPECT_EQ(StoredList(), Entries() + QStringLiteral(" *%1").arg(c.current));
    }
  }

  StartOn({u"Only"}, 0);
  test::Seen told;
  test::AnswerBox(true, told);
  Click("ms_1_profile_delete_btn");
  EXPECT_EQ(told.message, QStringLiteral("one_profile_text"));
  EXPECT_TRUE(told.single_button);
  EXPECT_EQ(Entries(), QStringLiteral("Only"));
}

TEST_F(ProfileCommands, AddAndRenameTakeOnlyNamesTheNameDialogAccepts) {
  StartOn({u"A", u"B", u"C"}, 1);
  const struct {
    const char* button;
    const char* title;
    std::optional<QString> name;
    const char* warning;  // empty when accepted
    const char* entries;
    int current;
  } cases[] = {
      {"ms_1_profile_rename_btn", "profile_name_2_text", "B", "warn_name_2_text", "A,B,C", 1},
      {"ms_1_profile_rename_btn", "profile_name_2_text", "a", "warn_name_2_text", "A,B,C", 1},
      {"ms_1_profile_add_btn", "profile_name_1_text", "", "warn_name_1_text", "A,B,C", 1},
      {"ms_1_profile_add_btn", "profile_name_1_text", std::nullopt, "", "A,B,C", 1},
      {"ms_1_profile_rename_btn", "profile_name_2_text", "Bee", "", "A,Bee,C", 1},
      {"ms_1_profile_add_btn", "profile_name_1_text", " ", "warn_name_1_text", "A,Bee,C", 1},
      {"ms_1_profile_add_btn", "profile_name_1_text", " Dee", "", "A,Bee,C, Dee", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.button << " " << c.name.value_or("(cancel)").toStdString());
    const QString warning = QString::fromLatin1(c.warning);
    test::Seen seen;
    test::AnswerName(c.name, seen, !warning.isEmpty());
    Click(c.button);
    EXPECT_EQ(seen.title, QString::fromLatin1(c.title));
    EXPECT_EQ(seen.message, QString()) << "the name field starts empty";
    EXPECT_EQ(seen.owner, window.get());
    EXPECT_EQ(seen.warning, warning);
    EXPECT_EQ(Entries(), QString::fromLatin1(c.entries));
    EXPECT_EQ(Row(), c.current);
    EXPECT_EQ(CurrentName(), Entries().split(u',')[c.current]);
  }
  // Kept at once, though no mouse took an apply.
  EXPECT_EQ(StoredList(), QStringLiteral("A,Bee,C, Dee *3"));
  EXPECT_EQ(ModeOf(Current(), 1).buttons[14].function_code, 14) << "a fresh default profile";
}

// Another process holds the data folder when the program starts: the user is
// told by whom, and nothing is saved until the folder is free again.
TEST_F(ProfileCommands, AHeldDataFolderIsNamedAndWrittenOnlyOnceItIsFree) {
  StoreProfiles({u"A"}, 0);
  DataFolderLock other;
  std::string error;
  ASSERT_EQ(other.TryTake(data.path().toStdString(), error), DataFolderLock::Result::kTaken);
  test::Seen told, seen, failed;
  test::AnswerBox(true, told);
  Start("");
  ASSERT_TRUE(test::WaitFor([&] { return told.shown; })) << "the user was not told";
  EXPECT_EQ(told.message, QStringLiteral("data_folder_held_text"));
  EXPECT_TRUE(told.args.value(1).endsWith(QStringLiteral("(process %1)").arg(::getpid())))
      << told.args.join(u'|').toStdString();

  test::AnswerName(QStringLiteral("B"), seen);
  test::AnswerBox(true, failed);
  Click("ms_1_profile_add_btn");
  ASSERT_TRUE(test::WaitFor([&] { return failed.shown; }));
  EXPECT_EQ(failed.message, QStringLiteral("store_save_failed_text"));
  EXPECT_EQ(StoredList(), QStringLiteral("A *0"));
  other.Release();
  test::AnswerName(QStringLiteral("C"), seen);
  Click("ms_1_profile_add_btn");
  EXPECT_EQ(StoredList(), QStringLiteral("A,B,C *2"));
}

TEST_F(ProfileCommands, ResetGivesTheDefaultsBackAndKeepsNameAndPlace) {
  StartOn({u"A", u"B"}, 1);
  QTest::mouseClick(Control("ms_1_option_button_mode_2"), Qt::LeftButton);
  Control<QSlider>("ms_1_slider_dpi_1")->setValue(100);
  const ProfileRecord edited = Current();

  test::Seen asked;
  test::AnswerBox(false, asked);
  Click("ms_1_profile_reset_btn");
  EXPECT_EQ(asked.message, QStringLiteral("restore_text"));
  EXPECT_TRUE(SameBytes(edited, Current())) << "cancelled: nothing changes";

  test::AnswerBox(true, asked);
  Click("ms_1_profile_reset_btn");
  const auto fresh = CreateProfile(u"B");
  EXPECT_TRUE(SameBytes(*fresh, Current()));
  EXPECT_EQ(Control<QLabel>("ms_1_label_dpi_1")->text(), QStringLiteral("1200"));
  EXPECT_TRUE(Control<QAbstractButton>("ms_1_option_button_mode_1")->isChecked());
  EXPECT_EQ(StoredList(), QStringLiteral("A,B *1"));
}

TEST_F(ProfileCommands, ExportWritesTheProfileInMemoryAndAsksBeforeOverwriting) {
  StartOn({u"A"}, 0);
  Control<QSlider>("ms_1_slider_brightness")->setValue(4);  // not sent: no mouse
  const QString typed = data.filePath(QStringLiteral("mine"));
  const QString file = typed + QStringLiteral(".pro");
  test::FileDialogSeen seen;
  test::ChooseFile(typed, seen);
  Click("ms_1_profile_export_btn");
  EXPECT_EQ(seen.filters, QStringList{QStringLiteral("Profile file (*.pro *.PRO)")});
  EXPECT_EQ(seen.filters, QStringList{ProfileFileFilter()});
  EXPECT_EQ(seen.default_suffix, QStringLiteral("pro"));
  EXPECT_EQ(seen.owner, window.get());
  EXPECT_TRUE(seen.saving && seen.confirms_overwrite);
  ProfileRecord written{};
  std::string error;
  ASSERT_TRUE(ReadProfileFile(file.toStdString(), written, error)) << error;
  EXPECT_TRUE(SameBytes(written, Current()));
  EXPECT_EQ(written.modes[0].light_brightness, 4);

  Control<QSlider>("ms_1_slider_brightness")->setValue(6);
  for (const bool overwrite : {false, true}) {
    test::ChooseFile(file, seen, overwrite);
    Click("ms_1_profile_export_btn");
    EXPECT_TRUE(seen.asked_overwrite);
    ASSERT_TRUE(ReadProfileFile(file.toStdString(), written, error)) << error;
    EXPECT_EQ(written.modes[0].light_brightness, overwrite ? 6 : 4);
  }

  // A disk that takes nothing: the user hears of it, and no file is left.
  // The edit's own store save, made off this thread, must not meet that disk.
  ASSERT_TRUE(test::WaitFor([&] { return Stored().modes[0].light_brightness == 6; }));
  const WriteCall previous = ReplaceWriteCallForTesting(
      [](int, const void*, std::size_t) -> ssize_t { return errno = ENOSPC, -1; });
  test::ChooseFile(data.filePath(QStringLiteral("full.pro")), seen);
  test::Seen told;
  test::AnswerBox(true, told);
  Click("ms_1_profile_export_btn");
  ReplaceWriteCallForTesting(previous);
  EXPECT_EQ(told.message, QStringLiteral("export_failed_text"));
  EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("full.pro"))));
}

TEST_F(ProfileCommands, ImportAddsTheProfileWithItsMacrosOrRefusesAForeignFile) {
  StartOn({u"A", u"B"}, 0);
  auto profile = CreateProfile(u"A");
  for (ModeRecord& mode : profile->modes) {
    mode.buttons[3].function_code = kFunctionMacro;
    SetFieldText(mode.buttons[3].macro_name, u"M");
  }
  const QString file = data.filePath(QStringLiteral("a.pro"));
  std::string error;
  ASSERT_TRUE(WriteProfileFile(file.toStdString(), *profile, error)) << error;
  QFile foreign(data.filePath(QStringLiteral("short.pro")));
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write(QByteArray(1000, 'x'));
  foreign.close();

  const struct {
    QString file;
    const char* refusal;
    const char* stored;
    std::size_t macros;
  } cases[] = {{file, "", "A,B,A_1 *2", 5},
               {file, "", "A,B,A_1,A_2 *3", 10},
               {foreign.fileName(), "import_failed_text", "A,B,A_1,A_2 *3", 10},
               {QString(), "", "A,B,A_1,A_2 *3", 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    test::FileDialogSeen seen;
    test::ChooseFile(c.file, seen);
    test::Seen told;
    if (*c.refusal != '\0') test::AnswerBox(true, told);
    Click("ms_1_profile_import_btn");
    EXPECT_FALSE(seen.saving);
    EXPECT_EQ(seen.filters, QStringList{ProfileFileFilter()});
    EXPECT_EQ(told.message, QString::fromLatin1(c.refusal));
    EXPECT_EQ(StoredList(), QString::fromLatin1(c.stored));
    EXPECT_EQ(Listed(), StoredList());
    EXPECT_EQ(StoredMacros(), c.macros);
  }
  EXPECT_EQ(CurrentName(), QStringLiteral("A_2"));
  EXPECT_EQ(FieldText(Current().modes[4].buttons[3].macro_name), u"M_9");
}

// On the mouse: each command that makes another profile current sends it
// whole, a rename sends nothing, and the store follows every command.
TEST_F(ProfileCommands, OnTheMouseTheCommandsChangeTheStoreAndWhatTheMouseHolds) {
  ProfileList profiles;
  profiles.push_back(CreateProfile(u"Work"));
  SetSharedSetting(*profiles[0], SharedSetting::kLightBrightness, 3);
  SaveProfiles(profiles);
  Start("wired");
  int sent = 0;
  const auto sends_whole = [&] {
    const bool whole = test::WaitFor([&] { return Accepted() == sent + 12; }, 60000);
    sent = Accepted();
    return whole && test::WaitFor([&] { return !Shown("apply_ring"); });
  };
  const auto brightness = [&] { return MouseLighting(0)["brightness"].get<int>(); };

  test::Seen seen;
  test::AnswerName(QStringLiteral("Fresh"), seen);
  Click("ms_1_profile_add_btn");
  ASSERT_TRUE(sends_whole());
  EXPECT_EQ(brightness(), 8) << "the defaults of a new profile";
  EXPECT_EQ(StoredList(), QStringLiteral("Work,Fresh *1"));

  test::AnswerName(QStringLiteral("Game"), seen);
  Click("ms_1_profile_rename_btn");
  EXPECT_EQ(StoredList(), QStringLiteral("Work,Game *1"));

  const QString file = data.filePath(QStringLiteral("game.pro"));
  test::FileDialogSeen chosen;
  test::ChooseFile(file, chosen);
  Click("ms_1_profile_export_btn");
  test::AnswerBox(true, seen);
  Click("ms_1_profile_delete_btn");
  ASSERT_TRUE(sends_whole());
  EXPECT_EQ(brightness(), 3);
  EXPECT_EQ(StoredList(), QStringLiteral("Work *0"));

  test::ChooseFile(file, chosen);
  Click("ms_1_profile_import_btn");
  ASSERT_TRUE(sends_whole());
  EXPECT_EQ(brightness(), 8);
  EXPECT_EQ(StoredList(), QStringLiteral("Work,Game *1"));

  Control<QSlider>("ms_1_slider_brightness")->setValue(5);
  ASSERT_TRUE(test::WaitFor([&] { return brightness() == 5; }, 60000));
  ASSERT_TRUE(test::WaitFor([&] { return !Shown("apply_ring"); }));
  sent = Accepted();
  test::AnswerBox(true, seen);
  Click("ms_1_profile_reset_btn");
  ASSERT_TRUE(sends_whole());
  EXPECT_EQ(brightness(), 8);
  EXPECT_EQ(Stored().modes[1].light_brightness, 8);
}

}  // namespace
}  // namespace ms1
