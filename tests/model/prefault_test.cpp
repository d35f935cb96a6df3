// Prefaulting: exactly the whole pages inside the range become resident, and
// no byte anywhere changes.
#include "model/prefault.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <vector>

namespace ms1 {
namespace {

class FreshPages {
 public:
  explicit FreshPages(std::size_t pages)
      : page_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))), size_(pages * page_) {
    void* at = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    base_ = at == MAP_FAILED ? nullptr : static_cast<unsigned char*>(at);
  }
  ~FreshPages() {
    if (base_ != nullptr) ::munmap(base_, size_);
  }
  FreshPages(const FreshPages&) = delete;
  FreshPages& operator=(const FreshPages&) = delete;

  unsigned char* base() const { return base_; }
  std::size_t page() const { return page_; }
  std::vector<bool> Resident() const {
    std::vector<unsigned char> flags(size_ / page_);
    if (::mincore(base_, size_, flags.data()) != 0) return {};
    std::vector<bool> resident;
    for (unsigned char f : flags) resident.push_back((f & 1) != 0);
    return resident;
  }

 private:
  std::size_t page_;
  std::size_t size_;
  unsigned char* base_ = nullptr;
};

TEST(PrefaultForWriting, MakesTheWholePagesInsideResidentAndNothingElse) {
  struct Case {
    const char* what;
    std::size_t offset;  // from the start of the first page
    std::size_t size;    // in bytes, with `pages` counted in pages of the system
    std::size_t pages;
    std::ptrdiff_t extra;  // bytes more (or fewer)
    std::vector<bool> resident;  // of the 6 pages
  };
  const Case cases[] = {
      {"aligned, three whole pages", 0, 0, 3, 0, {true, true, true, false, false, false}},
      {"one byte in: the first page is partial", 1, 0, 3, 0, {false, true, true, false, false, false}},
      {"one byte short: the last page is partial", 0, 0, 3, -1, {true, true, false, false, false, false}},
      {"inside one page: nothing", 10, 100, 0, 0, {false, false, false, false, false, false}},
      {"a page and a half from the middle of one", 2048, 0, 1, 2048,
       {false, true, false, false, false, false}},
  };
  for (const Case& c : cases) {
    FreshPages pages(6);
    ASSERT_NE(pages.base(), nullptr);
    const std::size_t size = c.size + c.pages * pages.page() + static_cast<std::size_t>(c.extra);
    if (!PrefaultForWriting(pages.base() + c.offset, size)) GTEST_SKIP() << "kernel before 5.14";
    EXPECT_EQ(pages.Resident(), c.resident) << c.what;
  }
}

TEST(PrefaultForWriting, LeavesTheContentsAsTheyWere) {
  FreshPages pages(4);
  ASSERT_NE(pages.base(), nullptr);
  const std::size_t size = 4 * pages.page();
  for (std::size_t i = 0; i < size / 2; ++i) pages.base()[i] = static_cast<unsigned char>(i * 7);
  PrefaultForWriting(pages.base() + 1, size - 2);
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char expected = i < size / 2 ? static_cast<unsigned char>(i * 7) : 0;
    ASSERT_EQ(pages.base()[i], expected) << "byte " << i;
  }
}

}  // namespace
}  // namespace ms1
