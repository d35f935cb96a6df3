#include "model/case_fold.h"

#include <gtest/gtest.h>

namespace ms1 {
namespace {

TEST(CaseFold, MatchesLettersOfEveryScriptInEitherCase) {
  EXPECT_TRUE(EqualIgnoringCase(u"Work", u"wORK"));
  EXPECT_TRUE(EqualIgnoringCase(u"Ärger Öl Übung", u"äRGER öL üBUNG"));  // Latin-1
  EXPECT_TRUE(EqualIgnoringCase(u"ÀÉÎÕÙÝÞ", u"àéîõùýþ"));
  EXPECT_TRUE(EqualIgnoringCase(u"ŁÓDŹ Čeština", u"łódź čEŠTINA"));  // Latin Extended-A
  EXPECT_TRUE(EqualIgnoringCase(u"ΑΛΦΑ Ωμέγα", u"αλφα ωΜΈΓΑ"));      // Greek
  EXPECT_TRUE(EqualIgnoringCase(u"ΟΔΟΣ", u"οδος"));
  EXPECT_TRUE(EqualIgnoringCase(u"οδοσ", u"οδος"));            // final sigma
  EXPECT_TRUE(EqualIgnoringCase(u"МЫШЬ Ёлка", u"мышь ёЛКА"));  // Cyrillic
  EXPECT_TRUE(EqualIgnoringCase(u"ЇЖАК Ґанок", u"їжак ґАНОК"));
  EXPECT_TRUE(EqualIgnoringCase(u"ＡＢＣ", u"ａｂｃ"));          // full width
  EXPECT_TRUE(EqualIgnoringCase(u"\U00010400", u"\U00010428"));  // Deseret, surrogate pairs
}

TEST(CaseFold, KeepsDifferentLettersApart) {
  EXPECT_FALSE(EqualIgnoringCase(u"Work", u"Work "));
  EXPECT_FALSE(EqualIgnoringCase(u"a", u"ä"));
  EXPECT_FALSE(EqualIgnoringCase(u"Ε", u"Е"));   // Greek Epsilon is not Cyrillic Ie
  EXPECT_FALSE(EqualIgnoringCase(u"ß", u"ss"));  // simple folding maps one letter to one
  EXPECT_FALSE(EqualIgnoringCase(u"1", u"!"));
}

TEST(CaseFold, FoldsSingleCodePointsLikeTheUnicodeTable) {
  EXPECT_EQ(FoldCase(U'A'), U'a');
  EXPECT_EQ(FoldCase(U'a'), U'a');
  EXPECT_EQ(FoldCase(U'\u00C4'), U'\u00E4');
  EXPECT_EQ(FoldCase(U'\u00D7'), U'\u00D7');  // the multiplication sign sits among capitals
  EXPECT_EQ(FoldCase(U'\u0178'), U'\u00FF');  // Ÿ folds far back into Latin-1
  EXPECT_EQ(FoldCase(U'\u0100'), U'\u0101');  // alternating capital and small pairs
  EXPECT_EQ(FoldCase(U'\u0101'), U'\u0101');
  EXPECT_EQ(FoldCase(U'\u00B5'), U'\u03BC');  // micro sign -> Greek mu
  EXPECT_EQ(FoldCase(U'\u1E9E'), U'\u00DF');  // capital sharp s -> ß
  EXPECT_EQ(FoldCase(U'\u0130'), U'\u0130');  // İ has no one-letter folding
  EXPECT_EQ(FoldCase(U'\u0410'), U'\u0430');
  EXPECT_EQ(FoldCase(U'\u0401'), U'\u0451');
  EXPECT_EQ(FoldCase(U'\U0010FFFF'), U'\U0010FFFF');
}

TEST(CaseFold, LeavesLoneSurrogatesAlone) {
  const std::u16string lone = {u'A', char16_t(0xD800), u'B', char16_t(0xDC00)};
  const std::u16string folded = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  EXPECT_EQ(FoldCase(lone), folded);
}

}  // namespace
}  // namespace ms1
