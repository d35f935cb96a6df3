#include "platform/wheel_needs_focus.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

#include "support/wheel.h"

namespace ms1 {
namespace {

// A scrolled column of settings, taller than its view.
struct SettingsColumn {
  QScrollArea area;
  QSlider* slider = new QSlider(Qt::Horizontal);
  QComboBox* combo = new QComboBox;

  SettingsColumn() {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    slider->setRange(0, 100);
    slider->setValue(50);
    combo->addItems({"a", "b", "c", "d"});
    combo->setCurrentIndex(1);
    layout->addWidget(slider);
    layout->addWidget(combo);
    layout->addSpacing(2000);
    area.setWidget(content);
    area.setWidgetResizable(true);
    area.resize(300, 200);
    RequireFocusForWheel(slider);
    RequireFocusForWheel(combo);
    area.show();
  }
  int Scrolled() const { return area.verticalScrollBar()->value(); }
};

TEST(RequireFocusForWheel, TheWheelChangesAControlOnlyWithFocusElseScrollsTheColumn) {
  SettingsColumn column;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&column.area));
  column.area.activateWindow();
  const struct {
    const char* name;
    QWidget* control;
    std::function<int()> value;
  } controls[] = {
      {"slider", column.slider, [&] { return column.slider->value(); }},
      {"combo", column.combo, [&] { return column.combo->currentIndex(); }},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.name);
    column.area.verticalScrollBar()->setValue(0);
    column.area.setFocus();
    const int before = c.value();
    test::TurnWheelOver(c.control);
    EXPECT_EQ(c.value(), before) << "no focus: the value stays";
    EXPECT_FALSE(c.control->hasFocus()) << "the wheel alone gives no focus";
    EXPECT_GT(column.Scrolled(), 0) << "the column scrolls instead";

    column.area.verticalScrollBar()->setValue(0);
    c.control->setFocus();
    ASSERT_TRUE(c.control->hasFocus());
    test::TurnWheelOver(c.control);
    EXPECT_NE(c.value(), before) << "with focus the wheel works as usual";
    EXPECT_EQ(column.Scrolled(), 0);
  }
}

TEST(RequireFocusForWheel, IgnoresAMissingControlAndGatesOnce) {
  RequireFocusForWheel(nullptr);
  QSlider slider;
  const auto before = slider.children().size();
  RequireFocusForWheel(&slider);
  RequireFocusForWheel(&slider);
  EXPECT_EQ(slider.children().size(), before + 1);
}

}  // namespace
}  // namespace ms1
