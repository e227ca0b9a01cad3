// The integer HSV conversions and the HSV difference.
#include "frame/hsv.h"

namespace frame {
namespace {

int32_t Largest(int32_t a, int32_t b, int32_t c) {
  const int32_t ab = a > b ? a : b;
  return ab > c ? ab : c;
}
int32_t Smallest(int32_t a, int32_t b, int32_t c) {
  const int32_t ab = a < b ? a : b;
  return ab < c ? ab : c;
}
int32_t Absolute(int32_t a) {
  return a < 0 ? -a : a;
}
int32_t ToByteRange(int32_t a) {
  return a < 0 ? 0 : (a > 255 ? 255 : a);
}

// Where two components share the minimum, the earlier test decides: red and
// green minimal is blue (240), red and blue minimal is green (120).
int32_t HueAboveMinimum(int32_t dRed, int32_t dGreen, int32_t dBlue) {
  if (dRed + dGreen + dBlue == 0) return 0;
  if (dRed == 0) return dBlue * 120 / (dGreen + dBlue) + 120;
  if (dGreen == 0) {
    const int32_t hue = dRed * 120 / (dBlue + dRed) + 240;
    return hue >= 360 ? hue - 360 : hue;
  }
  return dGreen * 120 / (dRed + dGreen);
}

// The minimum first, then the maximum, then the middle component.
void StoreComponents(uint8_t* minimumAt, uint8_t* maximumAt, uint8_t* middleAt, int32_t minimum,
                     int32_t maximum, int32_t middle) {
  *minimumAt = static_cast<uint8_t>(minimum);
  *maximumAt = static_cast<uint8_t>(maximum);
  *middleAt = static_cast<uint8_t>(middle);
}

}  // namespace

void RgbToHsv(uint32_t red, uint32_t green, uint32_t blue, int32_t* h, int32_t* s, int32_t* v) {
  const int32_t r = static_cast<int32_t>(red & 0xFF);
  const int32_t g = static_cast<int32_t>(green & 0xFF);
  const int32_t b = static_cast<int32_t>(blue & 0xFF);
  const int32_t max = Largest(r, g, b);
  const int32_t min = Smallest(r, g, b);
  *v = max;
  *s = max != 0 ? (max - min) * 255 / max : 0;
  *h = HueAboveMinimum(r - min, g - min, b - min);
}

Hsv RgbToHsv(uint32_t red, uint32_t green, uint32_t blue) {
  Hsv hsv;
  RgbToHsv(red, green, blue, &hsv.h, &hsv.s, &hsv.v);
  return hsv;
}

void HsvToRgb(int32_t h, int32_t s, int32_t v, uint8_t* red, uint8_t* green, uint8_t* blue) {
  h %= 360;
  if (h < 0) h += 360;
  s = ToByteRange(s);
  v = ToByteRange(v);
  const int32_t minimum = (255 - s) * v / 255;
  const int32_t span = v - minimum;
  // Each sector names the minimum, the maximum and the middle component; the
  // middle one is the minimum plus its share of the span.
  if (h < 60) {
    StoreComponents(blue, red, green, minimum, v, minimum + span * h / (120 - h));
  } else if (h < 120) {
    StoreComponents(blue, green, red, minimum, v, minimum + span * (120 - h) / h);
  } else if (h < 180) {
    StoreComponents(red, green, blue, minimum, v, minimum + span * (h - 120) / (240 - h));
  } else if (h < 240) {
    StoreComponents(red, blue, green, minimum, v, minimum + span * (240 - h) / (h - 120));
  } else if (h < 300) {
    StoreComponents(green, blue, red, minimum, v, minimum + span * (h - 240) / (360 - h));
  } else {
    StoreComponents(green, red, blue, minimum, v, minimum + span * (360 - h) / (h - 240));
  }
}

HsvDifference DifferenceOf(const Hsv& first, const Hsv& second, int32_t foldPoint) {
  int32_t distance = Absolute(first.h - second.h);
  if (distance > foldPoint) distance = 2 * foldPoint - distance;
  HsvDifference difference;
  difference.hue = distance * (first.s * first.v + second.s * second.v) / (foldPoint * 510);
  difference.saturation = Absolute(first.s - second.s);
  difference.value = Absolute(first.v - second.v);
  return difference;
}

}  // namespace frame
