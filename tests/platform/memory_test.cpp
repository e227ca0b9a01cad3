// Global and heap blocks: handles, fill, sizes, and the failure injection
// with its request and live-block counters.
#include <gtest/gtest.h>

#include <cstring>

#include "vfwin/vfwin_host.h"

namespace {

class Memory : public testing::Test {
 protected:
  void SetUp() override {
    VfSetAllocationFailure(0);
    liveBefore_ = VfLiveAllocations();
  }
  void TearDown() override {
    VfSetAllocationFailure(0);
    EXPECT_EQ(VfLiveAllocations(), liveBefore_) << "a block was left allocated";
  }
  long liveBefore_ = 0;
};

bool AllBytesAre(const void* data, size_t size, unsigned char value) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] != value) return false;
  }
  return true;
}

TEST_F(Memory, MoveableBlockIsReachedThroughItsLock) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 100);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(VfLiveAllocations(), liveBefore_ + 1);
  EXPECT_EQ(GlobalSize(handle), 100u);
  auto* data = static_cast<unsigned char*>(GlobalLock(handle));
  ASSERT_NE(data, nullptr);
  EXPECT_NE(static_cast<void*>(data), handle);
  EXPECT_TRUE(AllBytesAre(data, 100, 0xCD)) << "a new block is not cleared but marked as never written";
  std::memset(data, 7, 100);
  EXPECT_EQ(GlobalLock(handle), data);
  EXPECT_TRUE(GlobalUnlock(handle)) << "still locked once";
  EXPECT_FALSE(GlobalUnlock(handle));
  EXPECT_EQ(GlobalFree(handle), nullptr);
  EXPECT_EQ(GlobalSize(handle), 0u);
}

TEST_F(Memory, FixedBlockIsItsOwnHandleAndZeroingIsOnRequest) {
  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 64);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed);
  EXPECT_TRUE(AllBytesAre(fixed, 64, 0));
  EXPECT_EQ(GlobalFree(fixed), nullptr);

  void* heapBlock = HeapAlloc(GetProcessHeap(), 0, 32);
  void* zeroed = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 32);
  ASSERT_NE(heapBlock, nullptr);
  ASSERT_NE(zeroed, nullptr);
  EXPECT_TRUE(AllBytesAre(heapBlock, 32, 0xCD));
  EXPECT_TRUE(AllBytesAre(zeroed, 32, 0));
  EXPECT_EQ(VfLiveAllocations(), liveBefore_ + 2);
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, heapBlock));
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, zeroed));
}

// Picture-sized blocks are mapped apart from the small ones; the fill, the
// zeroing, the sizes and every byte's use must not differ.
TEST_F(Memory, PictureSizedBlocksKeepTheFillAndFreeCleanly) {
  for (const SIZE_T size : {SIZE_T{2} << 20, (SIZE_T{9} << 20) + 3}) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, size);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GlobalSize(handle), size);
    auto* data = static_cast<unsigned char*>(GlobalLock(handle));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(AllBytesAre(data, size, 0xCD));
    std::memset(data, 1, size);
    GlobalUnlock(handle);
    EXPECT_EQ(GlobalFree(handle), nullptr);

    void* zeroed = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_TRUE(AllBytesAre(zeroed, size, 0));
    void* marked = HeapAlloc(GetProcessHeap(), 0, size);
    ASSERT_NE(marked, nullptr);
    EXPECT_TRUE(AllBytesAre(marked, size, 0xCD));
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, zeroed));
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, marked));
  }
}

TEST_F(Memory, UnknownAndImpossibleBlocksAreRefusedQuietly) {
  int notABlock = 0;
  EXPECT_EQ(GlobalFree(&notABlock), static_cast<HGLOBAL>(&notABlock));
  EXPECT_EQ(GlobalLock(&notABlock), nullptr);
  EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, &notABlock));
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, nullptr));
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(-1)), nullptr);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
  EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(-16)), nullptr);
}

// Each row: the request to fail, then which of the requests
// GlobalAlloc, GlobalLock, HeapAlloc, GlobalAlloc succeed.
struct FailureCase {
  long which;
  bool succeeds[4];
};

const FailureCase kFailureCases[] = {
    {0, {true, true, true, true}},      {1, {false, true, true, true}}, {2, {true, false, true, true}},
    {3, {true, true, false, true}},     {4, {true, true, true, false}}, {5, {true, true, true, true}},
    {-1, {false, false, false, false}},
};

TEST_F(Memory, FailureInjectionCountsGlobalLockAndHeapRequestsTogether) {
  for (const FailureCase& entry : kFailureCases) {
    SCOPED_TRACE("failing request " + std::to_string(entry.which));
    VfSetAllocationFailure(entry.which);
    EXPECT_EQ(VfAllocationRequests(), 0);
    HGLOBAL first = GlobalAlloc(GMEM_FIXED, 8);
    void* locked = GlobalLock(first ? first : nullptr);
    void* heapBlock = HeapAlloc(GetProcessHeap(), 0, 8);
    HGLOBAL second = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_EQ(first != nullptr, entry.succeeds[0]);
    EXPECT_EQ(locked != nullptr, entry.succeeds[0] && entry.succeeds[1]);
    EXPECT_EQ(heapBlock != nullptr, entry.succeeds[2]);
    EXPECT_EQ(second != nullptr, entry.succeeds[3]);
    EXPECT_EQ(VfAllocationRequests(), 4);
    GlobalFree(first);
    HeapFree(GetProcessHeap(), 0, heapBlock);
    GlobalFree(second);
  }
}

}  // namespace
