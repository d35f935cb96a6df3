#include "dialogs/msg_wnd.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/language.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

// Runs a message box and clicks `button` in it; returns the modal result.
int RunAndClick(CMsgWnd& box, const char* button) {
  int clicked = 0;
  test::WhenModal([&](QWidget* modal) {
    ASSERT_EQ(modal, &box);
    auto* target = box.FindControl<QPushButton>(QString::fromLatin1(button));
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, Qt::LeftButton);
    ++clicked;
  });
  const int result = box.ShowModal();
  EXPECT_EQ(clicked, 1);
  return result;
}

CMsgWnd* MakeBox(QWidget* owner, const char* message, bool single = false) {
  auto* box = new CMsgWnd(owner);
  box->title = QStringLiteral("warning_title_text");
  box->message = QString::fromLatin1(message);
  box->singleButton = single;
  box->Create();
  return box;
}

TEST(CMsgWnd, ShowsTheLanguageTextsOfItsTitleAndMessageKeys) {
  std::unique_ptr<CMsgWnd> box(MakeBox(nullptr, "restore_text"));
  EXPECT_EQ(box->WindowClassName(), QStringLiteral("MsgWnd"));
  auto* title = box->FindControl<QLabel>(QStringLiteral("warning_title"));
  auto* message = box->FindControl<QLabel>(QStringLiteral("warning"));
  ASSERT_NE(title, nullptr);
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(title->text(), Lan().Text(QStringLiteral("warning_title_text")));
  EXPECT_EQ(message->text(), Lan().Text(QStringLiteral("restore_text")));
  EXPECT_NE(message->text(), QStringLiteral("restore_text"));
}

TEST(CMsgWnd, OkConfirmsWithOneAndCancelRefusesWithZero) {
  std::unique_ptr<CMsgWnd> confirm(MakeBox(nullptr, "delete_profile_text"));
  EXPECT_EQ(RunAndClick(*confirm, "btn_ok"), 1);
  std::unique_ptr<CMsgWnd> refuse(MakeBox(nullptr, "delete_profile_text"));
  EXPECT_EQ(RunAndClick(*refuse, "btn_cancel"), 0);
}

TEST(CMsgWnd, ANoticeOffersOnlyOk) {
  std::unique_ptr<CMsgWnd> notice(MakeBox(nullptr, "no_device_text", true));
  notice->show();
  EXPECT_FALSE(notice->FindControl(QStringLiteral("btn_cancel"))->isVisible());
  EXPECT_TRUE(notice->FindControl(QStringLiteral("btn_ok"))->isVisible());
  notice->hide();
  EXPECT_EQ(RunAndClick(*notice, "btn_ok"), 1);
}

TEST(CMsgWnd, ShowMessageBoxCentresOnItsOwnerAndReturnsTheResult) {
  QWidget owner;
  owner.setGeometry(100, 100, 800, 572);
  owner.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  QPoint centre;
  test::WhenModal([&](QWidget* modal) {
    ASSERT_NE(dynamic_cast<CMsgWnd*>(modal), nullptr);
    EXPECT_EQ(static_cast<CMsgWnd*>(modal)->message, QStringLiteral("one_profile_text"));
    centre = modal->geometry().center();
    QTest::mouseClick(static_cast<CMsgWnd*>(modal)->FindControl(QStringLiteral("btn_ok")),
                      Qt::LeftButton);
  });
  EXPECT_EQ(ShowMessageBox(&owner, QStringLiteral("warning_title_text"),
                           QStringLiteral("one_profile_text")),
            1);
  EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 4);
}

}  // namespace
}  // namespace ms1
