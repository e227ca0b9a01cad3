// scroll's row copies.
#include "scroll_filter.h"

#include <cstddef>
#include <cstring>

namespace scroll {

int32_t ReduceAmount(int32_t amount, int32_t size) {
  if (size <= 0) return 0;
  const int32_t r = amount % size;
  return r < 0 ? r + size : r;
}

void BuildShifted(const frame::DibImage& image, uint8_t* block, int32_t fx, int32_t fy) {
  const std::size_t rowPixelBytes = 3 * static_cast<std::size_t>(image.width);
  const std::size_t paddingBytes = static_cast<std::size_t>(image.stride) - rowPixelBytes;
  const std::size_t movedRightBytes = 3 * static_cast<std::size_t>(image.width - fx);
  const std::size_t wrappedBytes = 3 * static_cast<std::size_t>(fx);
  for (int32_t r = 0; r < image.height; ++r) {
    const int32_t sourceRow = r < image.height - fy ? r + fy : r + fy - image.height;
    const uint8_t* source = image.Row(sourceRow);
    uint8_t* target = block + static_cast<std::size_t>(r) * static_cast<std::size_t>(image.stride);
    std::memcpy(target + wrappedBytes, source, movedRightBytes);
    std::memcpy(target, source + movedRightBytes, wrappedBytes);
    std::memcpy(target + rowPixelBytes, image.Row(r) + rowPixelBytes, paddingBytes);
  }
}

}  // namespace scroll
