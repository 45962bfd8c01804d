#include "count/large_blocks.h"

#include <sys/mman.h>

#include <new>

namespace velmora {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From this size on a block takes whole huge pages: the arrays grow by
// doubling, and their smaller sizes would otherwise fault page by page as
// often as the largest.
constexpr std::size_t kLargeBlock = std::size_t{256} << 10;

std::size_t MappedLength(std::size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocateLargeBlock(std::size_t bytes) {
  if (bytes < kLargeBlock) return ::operator new(bytes);
  const std::size_t length = MappedLength(bytes);
  void* block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  // Only a hint: where the system refuses it, the block has ordinary pages.
  madvise(block, length, MADV_HUGEPAGE);
  return block;
}

void FreeLargeBlock(void* block, std::size_t bytes) {
  if (bytes < kLargeBlock) {
    ::operator delete(block);
    return;
  }
  munmap(block, MappedLength(bytes));
}

}  // namespace velmora
