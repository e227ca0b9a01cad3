// Working memory of a run.
#include "frame/working_block.h"

#include <limits>

namespace frame {

uint64_t CheckedProduct(uint64_t a, uint64_t b) {
  if (a == kUnaddressable || b == kUnaddressable) return kUnaddressable;
  if (a != 0 && b > kUnaddressable / a) return kUnaddressable;
  return a * b;
}

uint64_t CheckedSum(uint64_t a, uint64_t b) {
  if (a == kUnaddressable || b == kUnaddressable || b > kUnaddressable - a) return kUnaddressable;
  return a + b;
}

namespace {
bool Addressable(uint64_t size) {
  return size < static_cast<uint64_t>(std::numeric_limits<SIZE_T>::max());
}
// Blocks of zero bytes are asked for as one byte, so that an empty picture
// still gets a valid block.
SIZE_T RequestSize(uint64_t size) {
  return static_cast<SIZE_T>(size == 0 ? 1 : size);
}
}  // namespace

bool GlobalBlock::Allocate(uint64_t size) {
  Release();
  if (!Addressable(size)) return false;
  handle_ = GlobalAlloc(GMEM_MOVEABLE, RequestSize(size));
  if (handle_ == nullptr) return false;
  data_ = static_cast<uint8_t*>(GlobalLock(handle_));
  if (data_ == nullptr) {
    GlobalFree(handle_);
    handle_ = nullptr;
    return false;
  }
  return true;
}

void GlobalBlock::Release() {
  if (handle_ == nullptr) return;
  if (data_ != nullptr) GlobalUnlock(handle_);
  GlobalFree(handle_);
  handle_ = nullptr;
  data_ = nullptr;
}

bool HeapBlock::Allocate(uint64_t size) {
  Release();
  if (!Addressable(size)) return false;
  data_ = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, RequestSize(size)));
  return data_ != nullptr;
}

void HeapBlock::Release() {
  if (data_ == nullptr) return;
  HeapFree(GetProcessHeap(), 0, data_);
  data_ = nullptr;
}

}  // namespace frame
