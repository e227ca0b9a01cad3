// Filling the working raster of the weighted blurs.
#include "wide_raster.h"

#include <cstring>

#include "frame/working_block.h"

namespace blur {
namespace {

uint64_t NonNegative(int32_t n) {
  return n > 0 ? static_cast<uint64_t>(n) : 0;
}

// The image index (column or row, 0 .. n - 1) that border position p shows.
int32_t SourceIndex(int32_t p, int32_t n, bool wrapAround) {
  if (wrapAround) {
    const int32_t r = p % n;
    return r < 0 ? r + n : r;
  }
  return p < 0 ? 0 : (p >= n ? n - 1 : p);
}

}  // namespace

uint64_t WideRasterSize(const frame::DibImage& image, int32_t border) {
  const uint64_t b = NonNegative(border);
  const uint64_t rowPixels = frame::CheckedSum(NonNegative(image.width), 2 * b);
  const uint64_t rows = frame::CheckedSum(NonNegative(image.height), 2 * b);
  return frame::CheckedProduct(rows, frame::CheckedProduct(rowPixels, 3));
}

WideRaster FillWideRaster(const frame::DibImage& image, uint8_t* data, int32_t border, bool wrapAround) {
  WideRaster raster;
  raster.data = data;
  raster.width = static_cast<int32_t>(NonNegative(image.width));
  raster.height = static_cast<int32_t>(NonNegative(image.height));
  raster.border = border;
  raster.pitch = 3 * (static_cast<intptr_t>(raster.width) + 2 * border);
  if (raster.width == 0 || raster.height == 0) return raster;

  const int32_t w = raster.width;
  for (int32_t y = 0; y < raster.height; ++y) {
    std::memcpy(raster.Pixel(y, 0), image.Row(y), 3 * static_cast<std::size_t>(w));
    for (int32_t k = 1; k <= border; ++k) {
      std::memcpy(raster.Pixel(y, -k), raster.Pixel(y, SourceIndex(-k, w, wrapAround)), 3);
      std::memcpy(raster.Pixel(y, w - 1 + k), raster.Pixel(y, SourceIndex(w - 1 + k, w, wrapAround)), 3);
    }
  }
  // Border rows are whole raster rows, so the corners come with them.
  const int32_t h = raster.height;
  const std::size_t rowBytes = static_cast<std::size_t>(raster.pitch);
  for (int32_t k = 1; k <= border; ++k) {
    std::memcpy(raster.Pixel(-k, -border), raster.Pixel(SourceIndex(-k, h, wrapAround), -border), rowBytes);
    std::memcpy(raster.Pixel(h - 1 + k, -border),
                raster.Pixel(SourceIndex(h - 1 + k, h, wrapAround), -border), rowBytes);
  }
  return raster;
}

}  // namespace blur
