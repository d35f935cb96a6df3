#include "model/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace ms1 {

bool PrefaultForWriting(void* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
  const std::uintptr_t end = (begin + size) & ~(page - 1);
  if (end <= first) return true;  // no whole page: nothing to gain
  return ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) == 0;
#else
  (void)data;
  (void)size;
  return false;
#endif
}

}  // namespace ms1
