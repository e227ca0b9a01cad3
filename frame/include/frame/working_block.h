// The working memory of one run, released on every way out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/win_api.h"

namespace frame {

// Sizes are computed in 64 bits; a size the platform cannot address fails
// like an allocation that the system refuses.
constexpr uint64_t kUnaddressable = ~uint64_t{0};
uint64_t CheckedProduct(uint64_t a, uint64_t b);  // kUnaddressable on overflow
uint64_t CheckedSum(uint64_t a, uint64_t b);

// Kind 0: GlobalAlloc(GMEM_MOVEABLE) and GlobalLock; unlocked and freed by the
// destructor. The content is not cleared.
class GlobalBlock {
 public:
  GlobalBlock() = default;
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  ~GlobalBlock() { Release(); }

  bool Allocate(uint64_t size);
  void Release();
  uint8_t* data() const { return data_; }

 private:
  HGLOBAL handle_ = nullptr;
  uint8_t* data_ = nullptr;
};

// Kind 10: one block from the run-time heap.
class HeapBlock {
 public:
  HeapBlock() = default;
  HeapBlock(const HeapBlock&) = delete;
  HeapBlock& operator=(const HeapBlock&) = delete;
  ~HeapBlock() { Release(); }

  bool Allocate(uint64_t size);
  void Release();
  uint8_t* data() const { return data_; }

 private:
  uint8_t* data_ = nullptr;
};

}  // namespace frame
