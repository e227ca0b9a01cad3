// The host's picture types: the packed 24-bit DIB handed to kind-0 plug-ins,
// the layered image of the line-access plug-ins, and the conversions between
// them and the RGBA pictures that files hold.
#include <cstring>

#include "vfhost/images.h"

namespace vfhost {
namespace {

constexpr int32_t kHeaderSize = 40;

void PutLe16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
void PutLe32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

Dib::Dib(int32_t width, int32_t height)
    : width_(width), height_(height), stride_(static_cast<int32_t>((int64_t{width} * 24 + 31) / 32 * 4)) {
  const size_t pixelBytes = static_cast<size_t>(stride_) * static_cast<size_t>(height);
  bytes_.assign(kHeaderSize + pixelBytes, 0);
  uint8_t* h = bytes_.data();
  PutLe32(h + 0, kHeaderSize);
  PutLe32(h + 4, static_cast<uint32_t>(width));
  PutLe32(h + 8, static_cast<uint32_t>(height));
  PutLe16(h + 12, 1);
  PutLe16(h + 14, 24);
  PutLe32(h + 16, 0);  // BI_RGB
  PutLe32(h + 20, static_cast<uint32_t>(pixelBytes));
  PutLe32(h + 24, 2835);  // 72 dots per inch
  PutLe32(h + 28, 2835);
}

uint8_t* Dib::Pixel(int32_t y, int32_t x) {
  return bytes_.data() + kHeaderSize + static_cast<size_t>(y) * stride_ + 3 * static_cast<size_t>(x);
}
const uint8_t* Dib::Pixel(int32_t y, int32_t x) const {
  return bytes_.data() + kHeaderSize + static_cast<size_t>(y) * stride_ + 3 * static_cast<size_t>(x);
}

void Dib::SetPixel(int32_t y, int32_t x, uint8_t red, uint8_t green, uint8_t blue) {
  uint8_t* p = Pixel(y, x);
  p[0] = blue;
  p[1] = green;
  p[2] = red;
}

void Dib::Fill(uint8_t red, uint8_t green, uint8_t blue) {
  for (int32_t y = 0; y < height_; ++y)
    for (int32_t x = 0; x < width_; ++x) SetPixel(y, x, red, green, blue);
}

LayeredImage::LayeredImage(int32_t width, int32_t height)
    : width(width),
      height(height),
      colour(static_cast<size_t>(width) * height * 3, 0),
      alpha(static_cast<size_t>(width) * height, 255),
      mask(static_cast<size_t>(width) * height, 0) {}

Dib DibFromRgba(const RgbaImage& image) {
  Dib dib(image.width, image.height);
  for (int32_t row = 0; row < image.height; ++row) {
    const uint8_t* source = image.rgba.data() + static_cast<size_t>(row) * image.width * 4;
    const int32_t y = image.height - 1 - row;
    for (int32_t x = 0; x < image.width; ++x, source += 4)
      dib.SetPixel(y, x, source[0], source[1], source[2]);
  }
  return dib;
}

RgbaImage RgbaFromDib(const Dib& dib) {
  RgbaImage image;
  image.width = dib.width();
  image.height = dib.height();
  image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
  uint8_t* target = image.rgba.data();
  for (int32_t row = 0; row < image.height; ++row) {
    const int32_t y = image.height - 1 - row;
    for (int32_t x = 0; x < image.width; ++x, target += 4) {
      const uint8_t* p = dib.Pixel(y, x);
      target[0] = p[2];
      target[1] = p[1];
      target[2] = p[0];
      target[3] = 255;
    }
  }
  return image;
}

LayeredImage LayeredFromRgba(const RgbaImage& image) {
  LayeredImage layers(image.width, image.height);
  const size_t pixels = static_cast<size_t>(image.width) * image.height;
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t* source = image.rgba.data() + 4 * i;
    layers.colour[3 * i + 0] = source[2];
    layers.colour[3 * i + 1] = source[1];
    layers.colour[3 * i + 2] = source[0];
    layers.alpha[i] = image.hasAlpha ? source[3] : 255;
  }
  return layers;
}

RgbaImage RgbaFromLayered(const LayeredImage& layers) {
  RgbaImage image;
  image.width = layers.width;
  image.height = layers.height;
  image.hasAlpha = true;
  const size_t pixels = static_cast<size_t>(layers.width) * layers.height;
  image.rgba.resize(pixels * 4);
  for (size_t i = 0; i < pixels; ++i) {
    uint8_t* target = image.rgba.data() + 4 * i;
    target[0] = layers.colour[3 * i + 2];
    target[1] = layers.colour[3 * i + 1];
    target[2] = layers.colour[3 * i + 0];
    target[3] = layers.alpha[i];
  }
  return image;
}

}  // namespace vfhost
