#include "dialogs/select_macro.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/loop_count.h"
#include "model/text_field.h"
#include "support/qt_wait.h"

namespace ms1 {
namespace {

MacroList ThreeMacros() {
  MacroList macros;
  for (const char16_t* name : {u"Jump", u"Run", u"Hide"}) {
    macros.push_back(std::make_unique<MacroRecord>());
    SetFieldText(macros.back()->name, name);
  }
  return macros;
}

class SelectMacro : public ::testing::Test {
 protected:
  void Open(int32_t index, int32_t mode, int32_t count) {
    owned = std::make_unique<CMS_1_SelectMacro>();
    CMS_1_SelectMacro& dialog = *owned;
    dialog.macros = &macros;
    dialog.macro_index = index;
    owned->repeat_mode = mode;
    dialog.loop_count = count;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(test::ShowActive(dialog));
    list = dialog.FindControl<QListWidget>(QStringLiteral("list_macro"));
    field = dialog.FindControl<QLineEdit>(QStringLiteral("edit_loop_time"));
    loop_row = dialog.FindControl(QStringLiteral("hor_loop_time"));
    ASSERT_TRUE(list != nullptr && field != nullptr && loop_row != nullptr);
  }
  QRadioButton* Option(int n) {
    return owned->FindControl<QRadioButton>(QStringLiteral("repeat_%1").arg(n));
  }

  MacroList macros = ThreeMacros();
  std::unique_ptr<CMS_1_SelectMacro> owned;
  QListWidget* list = nullptr;
  QLineEdit* field = nullptr;
  QWidget* loop_row = nullptr;
};

TEST_F(SelectMacro, OpensOnTheButtonsChoice) {
  struct Case {
    int32_t index, mode, count;
    int row;       // pre-selected list row
    bool counted;  // the loop-count row shows
  };
  const Case cases[] = {
      {2, 1, 9, 2, false},   // macro 2 in mode 1: third entry, option 2, no count
      {-1, 0, 1, -1, true},  // a button without a macro
      {7, 2, 4, -1, false},  // an index the list no longer has selects nothing
  };
  for (const Case& c : cases) {
    Open(c.index, c.mode, c.count);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), c.row);
    EXPECT_TRUE(Option(c.mode + 1)->isChecked());
    EXPECT_EQ(loop_row->isVisible(), c.counted);
    EXPECT_EQ(field->text(), QString::number(c.count));
  }
}

TEST_F(SelectMacro, OptionsShowTheCountOnlyForTheFirstModeAndTheListSetsTheIndex) {
  Open(-1, 0, 1);
  Option(2)->click();
  EXPECT_EQ(owned->repeat_mode, 1);
  EXPECT_FALSE(loop_row->isVisible());
  Option(3)->click();
  EXPECT_EQ(owned->repeat_mode, 2);
  Option(1)->click();
  EXPECT_TRUE(loop_row->isVisible());
  list->setCurrentRow(1);
  EXPECT_EQ(owned->macro_index, 1);
}

TEST_F(SelectMacro, TheCountFieldKeepsDigitsAndCorrectsTheRangeWhenLeft) {
  Open(0, 0, 5);
  struct Case {
    const char* typed;
    const char* kept;   // after typing
    const char* shown;  // after leaving the field
    int32_t count;
  };
  const Case cases[] = {
      {"12a", "12", "12", 12},    {"0", "0", "1", 1},  {"", "", "1", 1},
      {"999", "999", "255", 255}, {"-7", "7", "7", 7},
  };
  for (const Case& c : cases) {
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QString::fromLatin1(c.typed));
    EXPECT_EQ(field->text(), QString::fromLatin1(c.kept)) << c.typed;
    list->setFocus();
    ASSERT_TRUE(test::WaitFor([&] { return !field->hasFocus(); }));
    EXPECT_EQ(field->text(), QString::fromLatin1(c.shown)) << c.typed;
    EXPECT_EQ(owned->loop_count, c.count) << c.typed;
  }
}

TEST_F(SelectMacro, EnterInTheCountFieldConfirmsTheCountTyped) {
  Open(1, 0, 3);
  field->setFocus();
  field->clear();
  QTest::keyClicks(field, QStringLiteral("42"));
  int result = -1;
  QObject::connect(owned.get(), &QDialog::finished, [&](int r) { result = r; });
  QTest::keyClick(field, Qt::Key_Return);
  ASSERT_TRUE(test::WaitFor([&] { return result != -1; }));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(owned->loop_count, 42);
  EXPECT_EQ(owned->macro_index, 1);
}

TEST(LoopCount, LeadingDigitsInRange) {
  EXPECT_EQ(TakeLoopCount(QStringLiteral("0007")).count, 7);
  EXPECT_EQ(TakeLoopCount(QStringLiteral("99999999999999999999")).count, 255);
  EXPECT_EQ(LoopCountDigits(QStringLiteral("1 2\u0663x3")), QStringLiteral("123"));
}

}  // namespace
}  // namespace ms1
