#include "model/zero_runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace ms1 {
namespace {

std::vector<std::byte> Bytes(const std::vector<int>& values) {
  std::vector<std::byte> bytes;
  for (const int v : values) bytes.push_back(static_cast<std::byte>(v));
  return bytes;
}

std::vector<std::byte> Zeros(std::size_t n) { return std::vector<std::byte>(n); }

std::vector<std::byte> Join(std::initializer_list<std::vector<std::byte>> parts) {
  std::vector<std::byte> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

struct PackCase {
  const char* name;
  std::vector<std::byte> bytes;
  std::size_t max_packed;  // what the packing must at most take
};

TEST(ZeroRuns, EveryShapeOfBytesComesBackExactlyAndLongZeroRunsCostAHeaderEach) {
  const std::vector<PackCase> cases = {
      {"nothing", {}, 0},
      {"all zeros", Zeros(165004), 8},
      {"no zeros", Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 18},
      {"zeros then data", Join({Zeros(1000), Bytes({7, 7})}), 10},
      {"data then zeros", Join({Bytes({7, 7}), Zeros(1000)}), 18},
      {"a run of 7 zeros stays literal", Join({Bytes({1}), Zeros(7), Bytes({2})}), 17},
      {"a run of 15 zeros is left out", Join({Bytes({1}), Zeros(15), Bytes({2})}), 18},
      {"short runs at the end", Join({Bytes({1}), Zeros(3)}), 17},
      {"a single zero", Bytes({0}), 8},
      {"scattered", Join({Zeros(5), Bytes({9}), Zeros(4000), Bytes({1, 0, 2, 0, 0, 3}), Zeros(9),
                          Bytes({255}), Zeros(12)}),
       48},
  };
  for (const PackCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> packed = PackZeroRuns(c.bytes);
    EXPECT_LE(packed.size(), c.max_packed);
    std::vector<std::byte> back(c.bytes.size(), std::byte{0x5a});
    ASSERT_TRUE(UnpackZeroRuns(packed, back));
    EXPECT_EQ(back, c.bytes);
  }
}

TEST(ZeroRuns, ZerosPackedWithoutThemEqualTheirPacking) {
  for (const std::size_t n : {0u, 1u, 8u, 165004u}) {
    SCOPED_TRACE(n);
    if (n > 0) EXPECT_EQ(PackedZeros(n), PackZeroRuns(Zeros(n)));
    std::vector<std::byte> out(n, std::byte{1});
    ASSERT_TRUE(UnpackZeroRuns(PackedZeros(n), out));
    EXPECT_EQ(out, Zeros(n));
  }
}

TEST(ZeroRuns, APrefixIsUnpackedWithoutTheRest) {
  const std::vector<std::byte> bytes =
      Join({Bytes({1, 2}), Zeros(20), Bytes({3, 4, 5}), Zeros(100), Bytes({6})});
  const std::vector<uint8_t> packed = PackZeroRuns(bytes);
  for (const std::size_t length : {0u, 1u, 2u, 10u, 22u, 23u, 24u, 25u, 60u, 125u, 126u}) {
    SCOPED_TRACE(length);
    std::vector<std::byte> prefix(length, std::byte{0x5a});
    ASSERT_TRUE(UnpackZeroRunsPrefix(packed, prefix));
    EXPECT_EQ(prefix, std::vector<std::byte>(bytes.begin(), bytes.begin() + length));
  }
  std::vector<std::byte> too_long(bytes.size() + 1);
  EXPECT_FALSE(UnpackZeroRunsPrefix(packed, too_long));
}

TEST(ZeroRuns, PackedBytesOfTheWrongSizeOrDamagedAreRefused) {
  const std::vector<std::byte> bytes = Join({Zeros(16), Bytes({1, 2, 3}), Zeros(16)});
  const std::vector<uint8_t> packed = PackZeroRuns(bytes);
  std::vector<std::byte> out(bytes.size());
  std::vector<std::byte> shorter(bytes.size() - 1);
  std::vector<std::byte> longer(bytes.size() + 1);
  EXPECT_FALSE(UnpackZeroRuns(packed, shorter));
  EXPECT_FALSE(UnpackZeroRuns(packed, longer));

  std::vector<uint8_t> cut_header(packed.begin(), packed.begin() + 6);
  EXPECT_FALSE(UnpackZeroRuns(cut_header, out));
  std::vector<uint8_t> cut_literals(packed.begin(), packed.begin() + 9);
  EXPECT_FALSE(UnpackZeroRuns(cut_literals, out));
  std::vector<uint8_t> huge_run = packed;
  huge_run[3] = 0xff;  // a zero run of billions of bytes
  EXPECT_FALSE(UnpackZeroRuns(huge_run, out));
}

}  // namespace
}  // namespace ms1
