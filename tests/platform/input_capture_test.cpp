// Whether input capture can work is told by the session itself: no display,
// a display without RECORD, a display with it.
#include "platform/input_capture.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <optional>

#include "platform/language.h"
#include "support/scoped_env.h"
#include "support/x_session.h"

namespace ms1 {
namespace {

TEST(InputCapture, TheSessionDecidesAndEveryProblemHasAnExplanation) {
  if (!test::Installed("Xvfb")) GTEST_SKIP() << "needs Xvfb";
  test::XSession with_record, without_record;
  ASSERT_TRUE(with_record.Start());
  ASSERT_TRUE(without_record.Start({"-extension", "RECORD"}));
  struct Case {
    std::optional<std::string> display;  // none: DISPLAY unset
    std::string problem;
  } const cases[] = {
      {std::nullopt, kInputCaptureNoDisplayKey},
      {"", kInputCaptureNoDisplayKey},
      {"no-such-display", kInputCaptureNoDisplayKey},
      {without_record.Display(), kInputCaptureNoRecordKey},
      {with_record.Display(), ""},
  };
  for (const Case& c : cases) {
    test::ScopedEnv env;
    if (c.display) {
      env.Set("DISPLAY", *c.display);
    } else {
      env.Clear("DISPLAY");
    }
    const std::string problem = InputCaptureProblem();
    EXPECT_EQ(problem, c.problem) << c.display.value_or("unset");
    if (!problem.empty()) {
      EXPECT_TRUE(Lan().Contains(QString::fromStdString(problem))) << problem;
      EXPECT_TRUE(Lan().Text(QString::fromStdString(problem)).contains("X11")) << problem;
    }
    // In a Wayland session the editor says what the hook cannot see even when it runs.
    QLabel note;
    env.Set("WAYLAND_DISPLAY", "wayland-9");
    ShowInputCaptureNote(&note, true);
    const QString shown =
        QString::fromStdString(problem.empty() ? kInputCaptureWaylandKey : problem);
    EXPECT_EQ(note.text(), Lan().Text(shown)) << c.display.value_or("unset");
  }
}

}  // namespace
}  // namespace ms1
