// The working raster of the weighted blurs: the image with a border of R
// pixels on every side, 3 bytes a pixel (blue, green, red), pitch 3W + 6R
// without row padding, rows in the image's order (row 0 at the bottom).
// Every sample within R pixels of an image pixel is a plain offset from it.
#pragma once

#include <cstdint>

#include "frame/host_interface.h"

namespace blur {

struct WideRaster {
  uint8_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t border = 0;
  intptr_t pitch = 0;

  // Image pixel (y, x); y and x may reach border pixels outside the image.
  uint8_t* Pixel(int32_t y, int32_t x) const {
    return data + (static_cast<intptr_t>(y) + border) * pitch + 3 * (static_cast<intptr_t>(x) + border);
  }
};

// Bytes of the raster for the image and border (frame::kUnaddressable when
// too large to address).
uint64_t WideRasterSize(const frame::DibImage& image, int32_t border);

// Copies the image rows and fills the border: by edge repeat (nearest edge
// pixel), or with wrapAround by the opposite edge, as one tile of a seamless
// pattern. Wrap-around reads image pixels modulo the image size, so pictures
// smaller than the border tile themselves without reading outside the image.
WideRaster FillWideRaster(const frame::DibImage& image, uint8_t* data, int32_t border, bool wrapAround);

}  // namespace blur
