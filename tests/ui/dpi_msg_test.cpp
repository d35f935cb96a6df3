#include "ui/dpi_msg.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include "support/qt_wait.h"

namespace ms1 {
namespace {

TEST(CDPIMsg, SitsTenPixelsFromTheWorkAreasRightAndBottomEdges) {
  EXPECT_EQ(CDPIMsg::PlaceIn(QRect(0, 0, 1920, 1040)), QRect(1710, 980, 200, 50));
  // A work area that does not start at the origin (a panel on the left or top).
  EXPECT_EQ(CDPIMsg::PlaceIn(QRect(64, 32, 1856, 1048)), QRect(1710, 1020, 200, 50));
}

TEST(CDPIMsg, ShowsItsTextTopmostWithoutTakingFocusAndCanBeUpdated) {
  QPointer<CDPIMsg> indicator = new CDPIMsg;
  indicator->text = QStringLiteral("DPI :1200");
  indicator->Create();
  indicator->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(indicator));
  EXPECT_EQ(indicator->WindowClassName(), QStringLiteral("DPIWnd"));
  auto* label = indicator->FindControl<QLabel>(QStringLiteral("dpi_label"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("DPI :1200"));
  EXPECT_TRUE(indicator->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(indicator->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  EXPECT_TRUE(indicator->testAttribute(Qt::WA_ShowWithoutActivating));
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(indicator->geometry(), CDPIMsg::PlaceIn(area));

  indicator->SetText(QStringLiteral("DPI :1600"));
  EXPECT_EQ(label->text(), QStringLiteral("DPI :1600"));
  EXPECT_EQ(indicator->text, QStringLiteral("DPI :1600"));

  // Closing destroys it.
  indicator->close();
  ASSERT_TRUE(test::WaitFor([&] { return indicator.isNull(); }));
}

}  // namespace
}  // namespace ms1
