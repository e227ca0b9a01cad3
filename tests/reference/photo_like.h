// A deterministic photo-like picture for the differential tests and the
// benchmark: smooth light falling across the frame, a few soft-edged
// objects, fine texture and sensor-like noise, so that colours repeat in
// runs the way they do in real photos without being flat.
#pragma once

#include <cstdint>

#include "vfhost/images.h"

namespace vftest {

inline uint8_t ClampToByte(int32_t value) {
  return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// levels > 0 posterises each channel to that many steps (fewer colours).
inline vfhost::Dib PhotoLikeDib(int32_t width, int32_t height, uint32_t seed = 1, int32_t levels = 0) {
  vfhost::Dib dib(width, height);
  uint32_t noise = seed * 2654435761u + 1;
  struct Blob {
    int32_t cx, cy, radius, red, green, blue;
  } blobs[5];
  for (int32_t i = 0; i < 5; ++i) {
    noise = noise * 1664525u + 1013904223u;
    blobs[i] = {static_cast<int32_t>((noise >> 8) % static_cast<uint32_t>(width > 0 ? width : 1)),
                static_cast<int32_t>((noise >> 4) % static_cast<uint32_t>(height > 0 ? height : 1)),
                (width + height) / 8 + 1 + static_cast<int32_t>(noise % 7),
                static_cast<int32_t>(noise >> 24),
                static_cast<int32_t>((noise >> 16) & 0xFF),
                static_cast<int32_t>((noise >> 9) & 0xFF)};
  }
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      int32_t red = 40 + 160 * x / (width > 1 ? width - 1 : 1);
      int32_t green = 60 + 120 * y / (height > 1 ? height - 1 : 1);
      int32_t blue = 200 - 140 * (x + y) / (width + height);
      for (const Blob& blob : blobs) {
        const int64_t dx = x - blob.cx, dy = y - blob.cy;
        const int64_t reach = static_cast<int64_t>(blob.radius) * blob.radius;
        const int64_t distance = dx * dx + dy * dy;
        if (distance >= reach) continue;
        const int32_t weight = static_cast<int32_t>(256 - 256 * distance / reach);
        red += (blob.red - red) * weight / 256;
        green += (blob.green - green) * weight / 256;
        blue += (blob.blue - blue) * weight / 256;
      }
      const int32_t texture = ((x * 7 + y * 3) % 23) - 11;
      noise = noise * 1664525u + 1013904223u;
      const int32_t grain = static_cast<int32_t>(noise >> 28) - 8;
      red += texture / 2 + grain;
      green += texture / 3 + grain;
      blue += grain - texture / 4;
      if (levels > 0) {
        const int32_t step = 256 / levels;
        red = red / step * step;
        green = green / step * step;
        blue = blue / step * step;
      }
      dib.SetPixel(y, x, ClampToByte(red), ClampToByte(green), ClampToByte(blue));
    }
  }
  return dib;
}

}  // namespace vftest
