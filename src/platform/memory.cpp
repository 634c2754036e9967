// Zero-filled blocks: anonymous mappings where the system has them (the kernel hands out shared
// zero pages until a page is written), calloc elsewhere.
#include "platform/platform.h"

#include <cstdlib>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define TESSERA_ZERO_PAGES 1
#endif

namespace tessera {

void* zeroed_block_alloc(size_t size) {
  if (size == 0) return nullptr;
#ifdef TESSERA_ZERO_PAGES
  void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
#else
  return std::calloc(size, 1);
#endif
}

void zeroed_block_free(void* block, size_t size) {
  if (block == nullptr) return;
#ifdef TESSERA_ZERO_PAGES
  munmap(block, size);
#else
  (void)size;
  std::free(block);
#endif
}

}  // namespace tessera
