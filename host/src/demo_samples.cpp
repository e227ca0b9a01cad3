// The built-in sample pictures of `vfhost demo`, drawn from a fixed seed so
// that every run makes the same pixels.
#include <cmath>

#include "demo.h"

namespace vfhost::demo {
namespace {

constexpr int32_t kWidth = 192, kHeight = 128;

// xorshift32: a small generator with a fixed seed, the same on every system.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Between(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1));
  }

 private:
  uint32_t state_;
};

uint8_t Clamp(int value) {
  return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

RgbaImage Blank(uint8_t red, uint8_t green, uint8_t blue) {
  RgbaImage image;
  image.width = kWidth;
  image.height = kHeight;
  image.rgba.resize(static_cast<size_t>(kWidth) * kHeight * 4);
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    image.rgba[i] = red;
    image.rgba[i + 1] = green;
    image.rgba[i + 2] = blue;
    image.rgba[i + 3] = 255;
  }
  return image;
}

void Put(RgbaImage& image, int x, int y, int red, int green, int blue) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
  p[0] = Clamp(red);
  p[1] = Clamp(green);
  p[2] = Clamp(blue);
}

bool InDisc(int x, int y, int centreX, int centreY, int radius) {
  const int dx = x - centreX, dy = y - centreY;
  return dx * dx + dy * dy <= radius * radius;
}

bool OnRing(int x, int y, int centreX, int centreY, int radius, int thickness) {
  return InDisc(x, y, centreX, centreY, radius) && !InDisc(x, y, centreX, centreY, radius - thickness);
}

}  // namespace

RgbaImage MakePhotoSample() {
  RgbaImage image = Blank(0, 0, 0);
  Noise noise(20240607u);
  const int horizon = kHeight * 3 / 5;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      int red, green, blue;
      if (y < horizon) {  // sky: deep blue at the top to pale at the horizon
        red = 40 + 150 * y / horizon;
        green = 90 + 120 * y / horizon;
        blue = 200 + 40 * y / horizon;
      } else {  // field: green, darker toward the bottom, with furrows
        const int depth = y - horizon;
        red = 70 - depth + ((x + depth * 2) % 16 < 3 ? -25 : 0);
        green = 150 - 2 * depth;
        blue = 50;
      }
      if (InDisc(x, y, 150, 28, 16)) red = 255, green = 225, blue = 90;  // sun
      if (x >= 30 && x < 78 && y >= horizon - 30 && y < horizon + 10)
        red = 180, green = 50, blue = 40;  // house
      if (x >= 48 && x < 60 && y >= horizon - 8 && y < horizon + 10) red = 60, green = 35, blue = 20;  // door
      const int roofHalf = (y - (horizon - 52)) * 28 / 22;
      if (y >= horizon - 52 && y < horizon - 30 && x >= 54 - roofHalf && x < 54 + roofHalf)
        red = 90, green = 40, blue = 35;  // roof
      if (InDisc(x, y, 118, horizon - 6, 14) || (x >= 115 && x < 121 && y >= horizon && y < horizon + 16))
        red = 25, green = 70, blue = 30;  // tree
      const int grain = noise.Between(-10, 10);
      Put(image, x, y, red + grain, green + grain, blue + grain);
    }
  }
  return image;
}

RgbaImage MakeLineArtSample() {
  RgbaImage image = Blank(255, 255, 255);
  Noise noise(1234567u);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool ink = OnRing(x, y, 52, 64, 40, 2) || OnRing(x, y, 52, 64, 20, 1) ||
                       ((x == 100 || x == 101 || x == 180) && y >= 16 && y < 112) ||
                       ((y == 16 || y == 111) && x >= 100 && x <= 180) || (x - 100 == (y - 16) && x < 180) ||
                       (x >= 130 && x < 150 && y >= 70 && y < 90);
      if (ink) Put(image, x, y, 0, 0, 0);
    }
  }
  // Specks: black dots on the paper and white holes in the solid square.
  for (int i = 0; i < 120; ++i) {
    const int x = noise.Between(0, kWidth - 1), y = noise.Between(0, kHeight - 1);
    const int grey = noise.Between(0, 60);
    Put(image, x, y, grey, grey, grey);
  }
  for (int i = 0; i < 12; ++i) Put(image, noise.Between(131, 148), noise.Between(71, 88), 255, 255, 255);
  return image;
}

LayeredImage MakeLayeredSample() {
  LayeredImage layers(kWidth, kHeight);
  Noise noise(99991u);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const size_t i = static_cast<size_t>(y) * kWidth + x;
      int red = 250, green = 250, blue = 248;  // near-white paper
      if (InDisc(x, y, 60, 60, 36)) red = 220, green = 60, blue = 50;
      if (x >= 96 && x < 170 && y >= 30 && y < 100) red = 40 + x - 96, green = 120, blue = 200 - (y - 30);
      if (OnRing(x, y, 132, 65, 28, 3)) red = 20, green = 20, blue = 20;
      const int grain = noise.Between(-3, 3);
      layers.colour[3 * i + 0] = Clamp(blue + grain);
      layers.colour[3 * i + 1] = Clamp(green + grain);
      layers.colour[3 * i + 2] = Clamp(red + grain);
      // Transparency: a fading band at the bottom, a see-through corner.
      uint8_t alpha = 255;
      if (y >= 108) alpha = Clamp(255 - (y - 108) * 12);
      if (x < 24 && y < 24) alpha = 0;
      layers.alpha[i] = alpha;
      // The mask protects a strip on the right, half protects a square.
      uint8_t mask = 0;
      if (x >= 176) mask = 255;
      if (x >= 8 && x < 40 && y >= 80 && y < 104) mask = 128;
      layers.mask[i] = mask;
    }
  }
  return layers;
}

const char* SampleName(Sample sample) {
  switch (sample) {
    case Sample::Photo:
      return "photo";
    case Sample::LineArt:
      return "line art";
    case Sample::Layered:
      return "layered";
  }
  return "";
}

}  // namespace vfhost::demo
