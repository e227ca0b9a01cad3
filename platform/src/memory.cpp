// Global and heap memory. New blocks are filled with 0xCD unless zeroing is
// asked for, so that code reading memory it never wrote shows it plainly.
// Blocks of 2 MB or more (a picture's working raster) are mapped on their
// own with transparent huge pages where the system offers them: their first
// touch then costs one fault per 2 MB instead of one per 4 KB, which on a
// 12-megapixel picture is most of a simple filter's time. (The C library
// would map such blocks afresh on every run anyway, page by page.)
// Allocation requests (GlobalAlloc, GlobalLock, HeapAlloc) are counted, and
// the host can make a chosen request, or every request, fail.
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "internal.h"

namespace vfwin {
namespace {

constexpr unsigned char kUnwrittenByte = 0xCD;
// No block larger than a 32-bit process could ever be given.
constexpr SIZE_T kLargestBlock = 0x7FFFFFFF;

struct GlobalBlock {
  void* data = nullptr;
  SIZE_T size = 0;
  bool moveable = false;
  int locks = 0;
};

struct MemoryState {
  // Keyed by handle: the data pointer for a fixed block, the record itself
  // for a moveable one.
  std::unordered_map<HGLOBAL, std::unique_ptr<GlobalBlock>> globalBlocks;
  std::unordered_map<void*, SIZE_T> heapBlocks;
  long failWhich = 0;
  long requests = 0;
};

MemoryState& Memory() {
  static auto* state = new MemoryState;  // outlives every plug-in's exit code
  return *state;
}

bool NextRequestFails() {
  MemoryState& memory = Memory();
  ++memory.requests;
  return memory.failWhich < 0 || (memory.failWhich > 0 && memory.requests == memory.failWhich);
}

constexpr SIZE_T kHugePage = SIZE_T{2} << 20;
constexpr SIZE_T kMappedBlock = SIZE_T{2} << 20;

SIZE_T MappedLength(SIZE_T bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// A mapping of whole huge pages starting on a huge-page boundary, so that
// every page of it can be a huge one; the surplus around it is unmapped.
void* MapHugeAligned(SIZE_T bytes) {
  const SIZE_T length = MappedLength(bytes);
  const SIZE_T reserved = length + kHugePage;
  void* mapped = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(mapped, aligned - start);
  const uintptr_t end = start + reserved, alignedEnd = aligned + length;
  if (end > alignedEnd) munmap(reinterpret_cast<void*>(alignedEnd), end - alignedEnd);
  void* data = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  madvise(data, length, MADV_HUGEPAGE);
#endif
  return data;
}

void* NewBlock(SIZE_T bytes, bool zeroed) {
  if (bytes > kLargestBlock) return nullptr;
  if (bytes >= kMappedBlock) {
    void* data = MapHugeAligned(bytes);
    // A fresh mapping reads as zeros already.
    if (data && !zeroed) std::memset(data, kUnwrittenByte, bytes);
    return data;
  }
  void* data = std::malloc(bytes ? bytes : 1);
  if (data) std::memset(data, zeroed ? 0 : kUnwrittenByte, bytes);
  return data;
}

void FreeBlock(void* data, SIZE_T bytes) {
  if (bytes >= kMappedBlock)
    munmap(data, MappedLength(bytes));
  else
    std::free(data);
}

GlobalBlock* FindGlobal(HGLOBAL handle) {
  auto& blocks = Memory().globalBlocks;
  auto found = blocks.find(handle);
  return found == blocks.end() ? nullptr : found->second.get();
}

}  // namespace
}  // namespace vfwin

using vfwin::Memory;

extern "C" {

VFWIN_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (vfwin::NextRequestFails()) return nullptr;
  void* data = vfwin::NewBlock(bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!data) return nullptr;
  auto block = std::make_unique<vfwin::GlobalBlock>();
  block->data = data;
  block->size = bytes;
  block->moveable = (flags & GMEM_MOVEABLE) != 0;
  HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : data;
  Memory().globalBlocks.emplace(handle, std::move(block));
  return handle;
}

VFWIN_API LPVOID GlobalLock(HGLOBAL handle) {
  if (vfwin::NextRequestFails()) return nullptr;
  vfwin::GlobalBlock* block = vfwin::FindGlobal(handle);
  if (!block) return nullptr;
  if (block->moveable) ++block->locks;
  return block->data;
}

// TRUE while the block stays locked after this unlock.
VFWIN_API BOOL GlobalUnlock(HGLOBAL handle) {
  vfwin::GlobalBlock* block = vfwin::FindGlobal(handle);
  if (!block || !block->moveable || block->locks == 0) return FALSE;
  --block->locks;
  return block->locks > 0 ? TRUE : FALSE;
}

// NULL when freed; the handle itself when it is no block of ours.
VFWIN_API HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  vfwin::GlobalBlock* block = vfwin::FindGlobal(handle);
  if (!block) return handle;
  vfwin::FreeBlock(block->data, block->size);
  Memory().globalBlocks.erase(handle);
  return nullptr;
}

VFWIN_API SIZE_T GlobalSize(HGLOBAL handle) {
  vfwin::GlobalBlock* block = vfwin::FindGlobal(handle);
  return block ? block->size : 0;
}

VFWIN_API HANDLE GetProcessHeap(void) {
  static int processHeap;
  return &processHeap;
}

VFWIN_API LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (vfwin::NextRequestFails() || !heap) return nullptr;
  void* data = vfwin::NewBlock(bytes, (flags & HEAP_ZERO_MEMORY) != 0);
  if (data) Memory().heapBlocks.emplace(data, bytes);
  return data;
}

VFWIN_API BOOL HeapFree(HANDLE /*heap*/, DWORD /*flags*/, LPVOID memory) {
  if (!memory) return TRUE;
  auto& blocks = Memory().heapBlocks;
  const auto found = blocks.find(memory);
  if (found == blocks.end()) return FALSE;
  vfwin::FreeBlock(memory, found->second);
  blocks.erase(found);
  return TRUE;
}

VFWIN_API void VfSetAllocationFailure(long which) {
  Memory().failWhich = which;
  Memory().requests = 0;
}

VFWIN_API long VfAllocationRequests(void) {
  return Memory().requests;
}

VFWIN_API long VfLiveAllocations(void) {
  return static_cast<long>(Memory().globalBlocks.size() + Memory().heapBlocks.size());
}

}  // extern "C"
