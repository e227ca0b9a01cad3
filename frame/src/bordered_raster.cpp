// Filling the bordered working raster and its luminance plane.
#include "frame/bordered_raster.h"

#include <cstring>

#include "frame/simd.h"
#include "frame/working_block.h"

namespace frame {
namespace {

// a mod n in 0 .. n - 1 for any a, n > 0.
int32_t Wrap(int32_t a, int32_t n) {
  const int32_t r = a % n;
  return r < 0 ? r + n : r;
}

int32_t Clamp(int32_t a, int32_t n) {
  return a < 0 ? 0 : (a >= n ? n - 1 : a);
}

// The image column (or row) a border place at position -b .. n + b - 1 shows.
int32_t SourceIndex(int32_t position, int32_t n, BorderFill fill) {
  return fill == BorderFill::WrapAround ? Wrap(position, n) : Clamp(position, n);
}

void CopyImageRows(const DibImage& image, const BorderedRaster& raster, const RasterLayout& layout) {
  for (int32_t y = 0; y < image.height; ++y) {
    std::memcpy(raster.Pixel(y, 0), image.Row(y), static_cast<std::size_t>(image.stride));
    if (layout.keepLuminance) LuminanceRow(image.Row(y), image.width, raster.Lum(y, 0));
  }
}

void FillColourSides(const BorderedRaster& raster, BorderFill fill) {
  const int32_t b = raster.border;
  for (int32_t y = 0; y < raster.height; ++y) {
    for (int32_t k = 1; k <= b; ++k) {
      std::memcpy(raster.Pixel(y, -k), raster.Pixel(y, SourceIndex(-k, raster.width, fill)), 3);
      const int32_t right = raster.width - 1 + k;
      std::memcpy(raster.Pixel(y, right), raster.Pixel(y, SourceIndex(right, raster.width, fill)), 3);
    }
  }
}

void FillLuminanceSides(const BorderedRaster& raster, BorderFill fill) {
  const int32_t b = raster.border;
  for (int32_t y = 0; y < raster.height; ++y) {
    uint8_t* lum = raster.Lum(y, 0);
    for (int32_t k = 1; k <= b; ++k) {
      lum[-k] = lum[SourceIndex(-k, raster.width, fill)];
      const int32_t right = raster.width - 1 + k;
      lum[right] = lum[SourceIndex(right, raster.width, fill)];
    }
  }
}

// Border rows are whole working rows, side borders included, so the corners
// come with them.
void FillBorderRows(const BorderedRaster& raster, BorderFill fill,
                    uint8_t* (*rowStart)(const BorderedRaster&, int32_t), std::size_t rowBytes) {
  const int32_t b = raster.border;
  for (int32_t k = 1; k <= b; ++k) {
    const int32_t below = -k;
    std::memcpy(rowStart(raster, below), rowStart(raster, SourceIndex(below, raster.height, fill)), rowBytes);
    const int32_t above = raster.height - 1 + k;
    std::memcpy(rowStart(raster, above), rowStart(raster, SourceIndex(above, raster.height, fill)), rowBytes);
  }
}

uint8_t* ColourRowStart(const BorderedRaster& raster, int32_t y) {
  return raster.Pixel(y, -raster.border);
}
uint8_t* LuminanceRowStart(const BorderedRaster& raster, int32_t y) {
  return raster.Lum(y, -raster.border);
}

// Sets the luminance border to initial; the image rows' cells are all
// written from the image afterwards, so they are left alone.
void PresetLuminanceBorder(const BorderedRaster& raster, uint8_t initial) {
  const int32_t b = raster.border;
  const auto rowBytes = static_cast<std::size_t>(raster.luminancePitch);
  for (int32_t k = 1; k <= b; ++k) {
    std::memset(raster.Lum(-k, -b), initial, rowBytes);
    std::memset(raster.Lum(raster.height - 1 + k, -b), initial, rowBytes);
  }
  for (int32_t y = 0; y < raster.height; ++y) {
    std::memset(raster.Lum(y, -b), initial, static_cast<std::size_t>(b));
    std::memset(raster.Lum(y, raster.width), initial, static_cast<std::size_t>(b));
  }
}

// A record with a negative size holds no pixels.
uint64_t NonNegative(int32_t n) {
  return n > 0 ? static_cast<uint64_t>(n) : 0;
}

}  // namespace

#ifdef VF_HAS_SSE2
namespace {

// 151 G + 77 R + 28 B of eight pixels in 16 bits: at most 256 x 255, so no
// product or sum wraps, and the shift by 8 gives the plain formula's byte.
VF_SSSE3_TARGET inline __m128i WeightedHalf(__m128i blue, __m128i green, __m128i red) {
  const __m128i sum = _mm_add_epi16(
      _mm_add_epi16(_mm_mullo_epi16(green, _mm_set1_epi16(151)), _mm_mullo_epi16(red, _mm_set1_epi16(77))),
      _mm_mullo_epi16(blue, _mm_set1_epi16(28)));
  return _mm_srli_epi16(sum, 8);
}

// Luminance of the row's pixels sixteen at a time (48 bytes read, all of
// them the row's own); returns the first pixel not done.
VF_SSSE3_TARGET int32_t LuminanceBlocksSsse3(const uint8_t* pixels, int32_t width, uint8_t* lum) {
  const __m128i zero = _mm_setzero_si128();
  int32_t x = 0;
  for (; x + 16 <= width; x += 16) {
    const uint8_t* block = pixels + 3 * x;
    const __m128i parts[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 32))};
    const __m128i blue = GatherChannel(parts, 0), green = GatherChannel(parts, 1),
                  red = GatherChannel(parts, 2);
    const __m128i low = WeightedHalf(_mm_unpacklo_epi8(blue, zero), _mm_unpacklo_epi8(green, zero),
                                     _mm_unpacklo_epi8(red, zero));
    const __m128i high = WeightedHalf(_mm_unpackhi_epi8(blue, zero), _mm_unpackhi_epi8(green, zero),
                                      _mm_unpackhi_epi8(red, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lum + x), _mm_packus_epi16(low, high));
  }
  return x;
}

}  // namespace
#endif  // VF_HAS_SSE2

void LuminanceRow(const uint8_t* pixels, int32_t width, uint8_t* lum) {
  int32_t x = 0;
#ifdef VF_HAS_SSE2
  if (CanUseSsse3()) x = LuminanceBlocksSsse3(pixels, width, lum);
#endif
  for (; x < width; ++x) lum[x] = LuminanceOfBgr(pixels + 3 * x);
}

uint64_t BorderedRasterSize(const DibImage& image, const RasterLayout& layout) {
  const uint64_t b = static_cast<uint64_t>(layout.border);
  const uint64_t rows = NonNegative(image.height) + 2 * b;
  const uint64_t colour = CheckedProduct(rows, NonNegative(image.stride) + 6 * b);
  if (!layout.keepLuminance) return colour;
  const uint64_t luminance = CheckedProduct(rows, NonNegative(image.width) + 2 * b);
  return CheckedSum(colour, luminance);
}

BorderedRaster FillBorderedRaster(const DibImage& image, uint8_t* block, const RasterLayout& layout) {
  BorderedRaster raster;
  raster.colour = block;
  raster.width = static_cast<int32_t>(NonNegative(image.width));
  raster.height = static_cast<int32_t>(NonNegative(image.height));
  raster.border = layout.border;
  raster.pitch = static_cast<intptr_t>(NonNegative(image.stride)) + 6 * layout.border;
  const intptr_t rows = static_cast<intptr_t>(raster.height) + 2 * layout.border;
  if (layout.keepLuminance) {
    raster.luminance = block + rows * raster.pitch;
    raster.luminancePitch = static_cast<intptr_t>(raster.width) + 2 * layout.border;
    PresetLuminanceBorder(raster, layout.luminanceInitial);
  }
  if (raster.width == 0 || raster.height == 0) return raster;

  CopyImageRows(image, raster, layout);
  if (layout.colourSides != BorderFill::Unfilled) FillColourSides(raster, layout.colourSides);
  if (layout.keepLuminance && layout.luminanceBorder != BorderFill::Unfilled) {
    FillLuminanceSides(raster, layout.luminanceBorder);
  }
  if (layout.colourRows != BorderFill::Unfilled) {
    FillBorderRows(raster, layout.colourRows, ColourRowStart, static_cast<std::size_t>(raster.pitch));
  }
  if (layout.keepLuminance && layout.luminanceBorder != BorderFill::Unfilled) {
    FillBorderRows(raster, layout.luminanceBorder, LuminanceRowStart,
                   static_cast<std::size_t>(raster.luminancePitch));
  }
  return raster;
}

}  // namespace frame
