#include "dialogs/config_name.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/msg_wnd.h"
#include "platform/language.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

bool ExistsIgnoringCase(const QString& name) {
  for (const char* existing : {"Profile 1", "Work"}) {
    if (name.compare(QString::fromLatin1(existing), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

class NameDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.title = QStringLiteral("profile_name_2_text");
    dialog.nameExists = &ExistsIgnoringCase;
    ASSERT_TRUE(dialog.Create());
    edit = dialog.FindControl<QLineEdit>(QStringLiteral("edit_name"));
    ASSERT_NE(edit, nullptr);
  }
  void Click(const char* name) {
    QTest::mouseClick(dialog.FindControl(QString::fromLatin1(name)), Qt::LeftButton);
  }
  // Presses OK expecting a warning box; returns its message key.
  QString OkExpectingWarning() {
    QString warned;
    test::WhenModal(
        [&](QWidget* modal) {
          auto* box = dynamic_cast<CMsgWnd*>(modal);
          ASSERT_NE(box, nullptr);
          EXPECT_EQ(box->parentWidget(), &dialog);
          EXPECT_EQ(box->title, QStringLiteral("warning_title_text"));
          warned = box->message;
          QTest::mouseClick(box->FindControl(QStringLiteral("btn_ok")), Qt::LeftButton);
        },
        &dialog);
    Click("btn_ok");
    return warned;
  }
  // Runs the dialog modally; `act` drives it once it is open.
  int Run(const std::function<void()>& act) {
    test::WhenModal([&](QWidget* modal) {
      ASSERT_EQ(modal, &dialog);
      act();
    });
    return dialog.ShowModal();
  }

  CMS_1_ConfigName dialog;
  QLineEdit* edit = nullptr;
};

TEST_F(NameDialog, StartsEmptyWithItsTitleAndKeepsInputWithin49Units) {
  EXPECT_EQ(dialog.WindowClassName(), QStringLiteral("MS_1_ConfigName"));
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(dialog.FindControl<QLabel>(QStringLiteral("title_string"))->text(),
            Lan().Text(QStringLiteral("profile_name_2_text")));
  dialog.show();
  edit->setFocus();
  QTest::keyClicks(edit, QString(60, u'x'));
  EXPECT_EQ(edit->text().size(), 49);
}

// An empty or blank name would show as nothing in the list.
TEST_F(NameDialog, EmptyOrBlankNameIsRefusedWithAWarningAndTheDialogStaysOpen) {
  for (const QString& typed : {QString(), QStringLiteral("   ")}) {
    QString warned;
    const int result = Run([&] {
      edit->setText(typed);
      warned = OkExpectingWarning();
      EXPECT_TRUE(dialog.isVisible());
      Click("btn_cancel");
    });
    EXPECT_EQ(warned, QStringLiteral("warn_name_1_text"));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(dialog.name.isEmpty());
  }
}

TEST_F(NameDialog, NameInUseInOtherLetterCaseIsRefusedThenANewOneIsAccepted) {
  QString warned;
  const int result = Run([&] {
    QTest::keyClicks(edit, QStringLiteral("pROFILE 1"));
    warned = OkExpectingWarning();
    EXPECT_TRUE(dialog.isVisible());
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("Gaming"));
    Click("btn_ok");
  });
  EXPECT_EQ(warned, QStringLiteral("warn_name_2_text"));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(dialog.name, QStringLiteral("Gaming"));
}

TEST_F(NameDialog, ExitButtonCancelsWithZero) {
  const int result = Run([&] {
    QTest::keyClicks(edit, QStringLiteral("Typed"));
    Click("btn_exit");
  });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(dialog.name.isEmpty());
}

TEST(ClipProfileName, CutsAt49UnitsWithoutSplittingASurrogatePair) {
  EXPECT_EQ(ClipProfileName(QString(80, u'a')).size(), 49);
  const QString emoji = QString::fromUtf8("\xF0\x9F\x96\xB1");  // two UTF-16 units
  const QString clipped = ClipProfileName(QString(48, u'a') + emoji);
  EXPECT_EQ(clipped, QString(48, u'a'));
  EXPECT_EQ(ClipProfileName(QString(47, u'a') + emoji), QString(47, u'a') + emoji);
}

}  // namespace
}  // namespace ms1
