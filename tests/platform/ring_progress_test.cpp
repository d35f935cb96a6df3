#include "platform/ring_progress.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <functional>

#include "support/event_counter.h"

namespace ms1 {
namespace {

QColor Corner(RingProgress& ring) {
  return ring.grab().toImage().pixelColor(0, 0);
}

void SetBackdrop(RingProgress& ring, const QColor& colour) {
  QPalette palette = ring.palette();
  palette.setColor(QPalette::Window, colour);
  ring.setPalette(palette);
}

TEST(RingProgress, StaysOpaqueUnderAStyleSheetThatWouldTakeItAway) {
  RingProgress ring;
  // An outline rule makes the style sheet style drop WA_OpaquePaintEvent.
  ring.setStyleSheet(
      QStringLiteral("* { outline: none; } ms1--RingProgress { background: #1a1d23; }"));
  ring.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ring));
  EXPECT_TRUE(ring.testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(Corner(ring), QColor(0x1a, 0x1d, 0x23)) << "it paints the backdrop itself";
}

TEST(RingProgress, RemembersSweepFramesButNeverShowsAStaleOne) {
  RingProgress ring;
  ring.resize(64, 64);
  ring.setTextVisible(false);
  SetBackdrop(ring, Qt::red);
  const struct {
    const char* step;
    std::function<void()> change;
    QColor corner;
    QSize size;
  } steps[] = {
      {"first frame", [&] { ring.setValue(40); }, Qt::red, {64, 64}},
      {"another frame", [&] { ring.setValue(42); }, Qt::red, {64, 64}},
      {"a remembered frame", [&] { ring.setValue(40); }, Qt::red, {64, 64}},
      {"new colours", [&] { SetBackdrop(ring, Qt::blue); }, Qt::blue, {64, 64}},
      {"new size", [&] { ring.resize(80, 80); }, Qt::blue, {80, 80}},
  };
  for (const auto& s : steps) {
    s.change();
    const QImage frame = ring.grab().toImage();
    EXPECT_EQ(frame.size(), s.size) << s.step;
    EXPECT_EQ(frame.pixelColor(0, 0), s.corner) << s.step;
    EXPECT_EQ(frame.pixelColor(frame.width() - 1, frame.height() - 1), s.corner) << s.step;
  }

  // A remembered frame is the frame drawn afresh.
  ring.setValue(60);
  const QImage remembered = ring.grab().toImage();
  RingProgress fresh;
  fresh.resize(80, 80);
  fresh.setTextVisible(false);
  SetBackdrop(fresh, Qt::blue);
  fresh.setValue(60);
  EXPECT_EQ(fresh.grab().toImage(), remembered);
  ring.setValue(10);
  ring.grab();
  ring.setValue(60);
  EXPECT_EQ(ring.grab().toImage(), remembered);
}

TEST(RingProgress, ADeferredValueIsPaintedWithTheNextPassOfTheEventLoop) {
  RingProgress ring;
  ring.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ring));
  test::EventCounter paints(QEvent::Paint);
  paints.Watch(&ring);
  SetValueDeferred(&ring, 30);
  EXPECT_EQ(ring.value(), 30);
  EXPECT_EQ(paints.counts[&ring], 0) << "no paint, and no wait for the window system, at once";
  EXPECT_TRUE(QTest::qWaitFor([&] { return paints.counts[&ring] > 0; }));
  EXPECT_TRUE(ring.updatesEnabled());
}

}  // namespace
}  // namespace ms1
