#include "model/store_save_warning.h"

#include <gtest/gtest.h>

namespace ms1 {
namespace {

TEST(StoreSaveWarning, WarnsOncePerRunOfFailuresAndAgainAfterASuccess) {
  StoreSaveWarning warning;
  const bool saved[] = {true, false, false, false, true, false};
  const bool warned[] = {false, true, false, false, false, true};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(warning.ShouldWarn(saved[i]), warned[i]) << "save " << i;
}

}  // namespace
}  // namespace ms1
