// Fresh memory is given to a process one page at a time, each on its first
// write, and on a virtual machine every such fault is dear. Memory about to be
// filled whole (a store read into its records) is better had in one call.
#pragma once

#include <cstddef>

namespace ms1 {

// Makes the whole pages inside [data, data + size) resident and writable
// without changing their contents; the partial pages at either end are left
// alone. False when the kernel cannot do it (before Linux 5.14): the pages
// then come on first write as usual.
bool PrefaultForWriting(void* data, std::size_t size);

}  // namespace ms1
