#include "model/unique_name.h"

#include <gtest/gtest.h>

#include <set>

#include "model/case_fold.h"

namespace ms1 {
namespace {

struct Taken {
  std::set<std::u16string> folded;
  void Add(std::u16string_view name) { folded.insert(FoldCase(name)); }
  NameExists Check() const {
    return [this](std::u16string_view n) { return folded.count(FoldCase(n)) > 0; };
  }
};

TEST(UniqueName, CountsUpWithoutRegardToCase) {
  Taken taken;
  EXPECT_EQ(MakeUniqueName(u"Work", taken.Check(), 49), u"Work");
  taken.Add(u"work");
  EXPECT_EQ(MakeUniqueName(u"Work", taken.Check(), 49), u"Work_1");
  taken.Add(u"WORK_1");
  EXPECT_EQ(MakeUniqueName(u"Work", taken.Check(), 49), u"Work_2");
  taken.Add(u"Ärger");
  EXPECT_EQ(MakeUniqueName(u"äRGER", taken.Check(), 49), u"äRGER_1");
}

TEST(UniqueName, ShortensTheBaseSoTheSuffixFits) {
  Taken taken;
  const std::u16string full(23, u'x');
  taken.Add(full);
  const std::u16string first = MakeUniqueName(full, taken.Check(), 23);
  EXPECT_EQ(first, std::u16string(21, u'x') + u"_1");
  taken.Add(first);
  for (int n = 2; n <= 11; ++n) taken.Add(MakeUniqueName(full, taken.Check(), 23));
  EXPECT_TRUE(taken.Check()(std::u16string(20, u'x') + u"_11"));
  const std::u16string later = MakeUniqueName(full, taken.Check(), 23);
  EXPECT_EQ(later, std::u16string(20, u'x') + u"_12");
  EXPECT_EQ(later.size(), 23u);
}

TEST(UniqueName, CutsAnOverlongBaseAndNeverSplitsASurrogatePair) {
  Taken taken;
  EXPECT_EQ(MakeUniqueName(std::u16string(60, u'p'), taken.Check(), 49), std::u16string(49, u'p'));
  // 21 letters then a character outside the BMP: cutting to 22 would halve it.
  const std::u16string base = std::u16string(21, u'm') + u"\U0001F600";
  taken.Add(CutName(base, 23));
  EXPECT_EQ(CutName(base, 22), std::u16string(21, u'm'));
  EXPECT_EQ(MakeUniqueName(base, taken.Check(), 23), std::u16string(21, u'm') + u"_1");
}

}  // namespace
}  // namespace ms1
