#include "model/profile_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "model/profile.h"
#include "model/text_field.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public test::TempDirTest {};

TEST_F(ProfileFileTest, RoundTripsByteForByte) {
  auto p = CreateProfile(u"Äpfel");
  p->modes[4].reserved_0[3] = 9;
  std::string error;
  ASSERT_TRUE(WriteProfileFile(dir / "a.pro", *p, error)) << error;
  EXPECT_EQ(fs::file_size(dir / "a.pro"), kProfileRecordSize);
  auto back = CreateProfile(u"other");
  ASSERT_TRUE(ReadProfileFile(dir / "a.pro", *back, error)) << error;
  EXPECT_EQ(std::memcmp(p.get(), back.get(), kProfileRecordSize), 0);
}

TEST_F(ProfileFileTest, RefusesMissingShortAndLongFilesWithoutTouchingTheRecord) {
  auto target = CreateProfile(u"untouched");
  std::string error;
  EXPECT_FALSE(ReadProfileFile(dir / "missing.pro", *target, error));
  EXPECT_FALSE(error.empty());
  for (std::size_t size : {std::size_t{0}, kProfileRecordSize - 1, kProfileRecordSize + 1}) {
    std::ofstream(dir / "bad.pro", std::ios::binary) << std::string(size, '\x7F');
    error.clear();
    EXPECT_FALSE(ReadProfileFile(dir / "bad.pro", *target, error)) << size;
    EXPECT_NE(error.find("not a profile file"), std::string::npos);
  }
  EXPECT_EQ(FieldText(target->name), u"untouched");
}

TEST_F(ProfileFileTest, ReportsAWriteIntoAMissingFolder) {
  auto p = CreateProfile(u"x");
  std::string error;
  EXPECT_FALSE(WriteProfileFile(dir / "no" / "such" / "a.pro", *p, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace ms1
