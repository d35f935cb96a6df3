#include "model/store_save_warning.h"

#include <gtest/gtest.h>

namespace ms1 {
namespace {

TEST(StoreSaveWarning, WarnsOncePerRunOfFailuresAndAgainAfterASuccess) {
  StoreSaveWarning warning;
  EXPECT_FALSE(warning.ShouldWarn(true));
  EXPECT_TRUE(warning.ShouldWarn(false));
  EXPECT_FALSE(warning.ShouldWarn(false));
  EXPECT_FALSE(warning.ShouldWarn(false));
  EXPECT_FALSE(warning.ShouldWarn(true));
  EXPECT_TRUE(warning.ShouldWarn(false));
}

}  // namespace
}  // namespace ms1
