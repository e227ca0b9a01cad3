// despeckle's pixel decisions, 64 pixels at a time in bit rows.
#include "despeckle_filter.h"

#include <cstring>

#include "frame/simd.h"
#include "frame/working_block.h"

namespace despeckle {
namespace {

using Bits = uint64_t;
constexpr int32_t kBitsPerWord = 64;

// Bit rows of the plane: bit c of a row stands for its cell c. The last
// word is followed by one of zeros, so that reading a row shifted by up to
// four cells never leaves it.
int64_t WordsPerRow(int32_t width) {
  return (int64_t{width} + 4) / kBitsPerWord + 2;
}

// The dark cells (L < t) of five plane rows, slot p % 5 for plane row p, and
// the isolated pixels of four image rows, slot (r + 1) % 4 for image row r
// (-1 .. H), each with a zero word on either side for the dilation.
constexpr int32_t kDarkRows = 5;
constexpr int32_t kIsolatedRows = 4;

struct BitRows {
  Bits* dark[kDarkRows];
  Bits* isolated[kIsolatedRows];
  int32_t words;

  Bits* DarkRow(int32_t planeRow) const { return dark[planeRow % kDarkRows]; }
  Bits* IsolatedRow(int32_t imageRow) const { return isolated[(imageRow + 1) % kIsolatedRows] + 1; }
  void ClearIsolated(int32_t imageRow) const {
    std::memset(isolated[(imageRow + 1) % kIsolatedRows], 0,
                sizeof(Bits) * static_cast<std::size_t>(words + 2));
  }
};

uint64_t BitRowWords(int32_t width) {
  const auto words = static_cast<uint64_t>(WordsPerRow(width));
  return kDarkRows * words + kIsolatedRows * (words + 2);
}

BitRows BitRowsIn(uint8_t* scratch, int32_t width) {
  BitRows rows;
  rows.words = static_cast<int32_t>(WordsPerRow(width));  // the block holding them was had
  Bits* next = reinterpret_cast<Bits*>(scratch);
  for (Bits*& row : rows.dark) {
    row = next;
    next += rows.words;
  }
  for (Bits*& row : rows.isolated) {
    row = next;
    next += rows.words + 2;
  }
  return rows;
}

#ifdef VF_HAS_SSE2
// Cells count - count % 16 of a plane row as dark bits, sixteen at a time
// (t - L saturates at 0 exactly for the cells that are not dark); returns the
// first cell not done.
VF_SSE2_TARGET int32_t MarkDarkSse2(const uint8_t* cells, int32_t count, uint8_t background, Bits* row) {
  const __m128i level = _mm_set1_epi8(static_cast<char>(background));
  int32_t c = 0;
  for (; c + 16 <= count; c += 16) {
    const __m128i notDark =
        _mm_cmpeq_epi8(_mm_subs_epu8(level, frame::LoadBytes(cells + c)), _mm_setzero_si128());
    const Bits dark = static_cast<Bits>(static_cast<unsigned>(_mm_movemask_epi8(notDark)) ^ 0xFFFFu);
    row[c / kBitsPerWord] |= dark << (c % kBitsPerWord);
  }
  return c;
}
#endif

// Bit c set when plane cell c of the row is below t; the bits past the row
// stay 0.
void MarkDark(const uint8_t* cells, int32_t count, uint8_t background, Bits* row, int32_t words) {
  std::memset(row, 0, sizeof(Bits) * static_cast<std::size_t>(words));
  int32_t c = 0;
#ifdef VF_HAS_SSE2
  if (frame::CanUseSse2()) c = MarkDarkSse2(cells, count, background, row);
#endif
  for (; c < count; ++c)
    if (cells[c] < background) row[c / kBitsPerWord] |= Bits{1} << (c % kBitsPerWord);
}

// Bits w of the row read s cells further on: bit j holds cell 64 w + j + s.
inline Bits Shifted(const Bits* row, int32_t w, int32_t s) {
  return s == 0 ? row[w] : (row[w] >> s) | (row[w + 1] << (kBitsPerWord - s));
}

// The isolated pixels of image row y, whose plane rows y .. y + 4 are in
// the dark rows: a pixel is isolated when no direction of the ring has a
// dark inner cell with a dark cell beyond it (the plain search's count of 0).
// Cell (dy, dx) of image pixel x is plane cell x + 2 + dx of plane row
// y + 2 + dy. Returns the pixels isolated.
int64_t MarkIsolated(const BitRows& rows, int32_t y, int32_t width) {
  const Bits* plane[5];
  for (int32_t k = 0; k < 5; ++k) plane[k] = rows.DarkRow(y + k);
  Bits* isolated = rows.IsolatedRow(y);
  const int32_t pixelWords = (width + kBitsPerWord - 1) / kBitsPerWord;
  int64_t count = 0;
  for (int32_t w = 0; w < pixelWords; ++w) {
    // d[dy + 2][dx + 2]; the centre is not looked at.
    Bits d[5][5];
    for (int32_t dy = 0; dy < 5; ++dy)
      for (int32_t dx = 0; dx < 5; ++dx) d[dy][dx] = Shifted(plane[dy], w, dx);
    const Bits linked = (d[1][1] & (d[0][1] | d[0][0] | d[1][0]))     // (-1, -1)
                        | (d[2][1] & (d[1][0] | d[2][0] | d[3][0]))   // (0, -1)
                        | (d[3][1] & (d[3][0] | d[4][0] | d[4][1]))   // (1, -1)
                        | (d[3][2] & (d[4][1] | d[4][2] | d[4][3]))   // (1, 0)
                        | (d[3][3] & (d[4][3] | d[4][4] | d[3][4]))   // (1, 1)
                        | (d[2][3] & (d[3][4] | d[2][4] | d[1][4]))   // (0, 1)
                        | (d[1][3] & (d[1][4] | d[0][4] | d[0][3]))   // (-1, 1)
                        | (d[1][2] & (d[0][3] | d[0][2] | d[0][1]));  // (-1, 0)
    const int32_t pixels = width - w * kBitsPerWord;
    const Bits inside = pixels >= kBitsPerWord ? ~Bits{0} : (Bits{1} << pixels) - 1;
    isolated[w] = ~linked & inside;
    count += __builtin_popcountll(isolated[w]);
  }
  return count;
}

// Isolated pixels of a row and of its left and right neighbours.
inline Bits Widened(const Bits* row, int32_t w) {
  return row[w] | (row[w] << 1) | (row[w - 1] >> (kBitsPerWord - 1)) | (row[w] >> 1) |
         (row[w + 1] << (kBitsPerWord - 1));
}

void SetGrey(uint8_t* pixel, uint8_t grey) {
  std::memset(pixel, grey, 3);
}

// Luminance 4 .. t onto 0 .. 250.
uint8_t StretchedGrey(uint8_t luminance, uint32_t factor) {
  if (luminance < 4) return 0;
  return static_cast<uint8_t>((luminance - 4u) * factor / 100u);
}

// One pixel's final colour: white when whitened, else its stretch grey
// unless its blue byte is 255 (greys null: no stretch).
inline void FinishPixel(uint8_t* pixel, uint8_t luminance, bool white, const uint8_t* greys) {
  if (white)
    SetGrey(pixel, 255);
  else if (greys != nullptr && pixel[0] != 255)
    SetGrey(pixel, greys[luminance]);
}

#ifdef VF_HAS_SSE2
// Sixteen bits as sixteen bytes of 0x00 / 0xFF.
VF_SSSE3_TARGET inline __m128i BytesOfBits(unsigned bits) {
  const __m128i spread = _mm_shuffle_epi8(_mm_cvtsi32_si128(static_cast<int>(bits)),
                                          _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1));
  const __m128i bit = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
  return _mm_cmpeq_epi8(_mm_and_si128(spread, bit), bit);
}

// k q + ((k r x 5243) >> 19) for eight k in 16 bits.
VF_SSSE3_TARGET inline __m128i StretchedHalf(__m128i k, __m128i quotient, __m128i remainder) {
  const __m128i fraction =
      _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(k, remainder), _mm_set1_epi16(5243)), 3);
  return _mm_add_epi16(_mm_mullo_epi16(k, quotient), fraction);
}

// The stretch greys of sixteen luminances, with k = L - 4 (0 below 4) and
// the factor u = 100 q + r: k u / 100 = k q + k r / 100 with k q whole, so
// the truncated quotient is k q + floor(k r / 100). k q <= 251 x 250 and
// k r < 251 x 100 fit 16 bits, and floor(n / 100) = (n x 5243) >> 19 for
// every n below 43699; checked against the plain division for every t and L.
VF_SSSE3_TARGET inline __m128i StretchedGreys(__m128i luminance, __m128i quotient, __m128i remainder) {
  const __m128i k = _mm_subs_epu8(luminance, _mm_set1_epi8(4));
  const __m128i zero = _mm_setzero_si128();
  return _mm_packus_epi16(StretchedHalf(_mm_unpacklo_epi8(k, zero), quotient, remainder),
                          StretchedHalf(_mm_unpackhi_epi8(k, zero), quotient, remainder));
}

// FinishRow for sixteen pixels at a time: the white, stretch and keep masks
// of the sixteen, each spread over its pixel's three bytes, choose between
// 255, the grey and the pixel's own bytes.
VF_SSSE3_TARGET void FinishRowSsse3(const frame::BorderedRaster& raster, const BitRows& rows, int32_t y,
                                    uint8_t background, uint32_t factor, const uint8_t* greys) {
  const Bits* below = rows.IsolatedRow(y - 1);
  const Bits* own = rows.IsolatedRow(y);
  const Bits* above = rows.IsolatedRow(y + 1);
  const uint8_t* luminance = raster.Lum(y, 0);
  uint8_t* colour = raster.Pixel(y, 0);
  const __m128i level = _mm_set1_epi8(static_cast<char>(background));
  const __m128i all = _mm_set1_epi8(-1);
  const __m128i stretch = greys != nullptr ? all : _mm_setzero_si128();
  const __m128i quotient = _mm_set1_epi16(static_cast<int16_t>(factor / 100));
  const __m128i remainder = _mm_set1_epi16(static_cast<int16_t>(factor % 100));
  for (int32_t x0 = 0; x0 < raster.width; x0 += kBitsPerWord) {
    const int32_t w = x0 / kBitsPerWord;
    const Bits whitened = Widened(below, w) | Widened(own, w) | Widened(above, w);
    const int32_t end = raster.width - x0 < kBitsPerWord ? raster.width : x0 + kBitsPerWord;
    int32_t x = x0;
    for (; x + 16 <= end; x += 16) {
      const __m128i cells = frame::LoadBytes(luminance + x);
      const __m128i notLight = _mm_cmpeq_epi8(_mm_subs_epu8(cells, level), _mm_setzero_si128());
      const __m128i white = _mm_or_si128(BytesOfBits(static_cast<unsigned>(whitened >> (x - x0)) & 0xFFFFu),
                                         _mm_xor_si128(notLight, all));
      uint8_t* block = colour + 3 * x;
      const __m128i parts[3] = {frame::LoadBytes(block), frame::LoadBytes(block + 16),
                                frame::LoadBytes(block + 32)};
      const __m128i fullBlue = _mm_cmpeq_epi8(frame::GatherChannel(parts, 0), all);
      const __m128i grey = _mm_andnot_si128(_mm_or_si128(white, fullBlue), stretch);
      const __m128i values = StretchedGreys(cells, quotient, remainder);
      for (int s = 0; s < 3; ++s) {
        const __m128i whiteBytes = frame::TripledPart(white, s);
        const __m128i greyBytes = frame::TripledPart(grey, s);
        const __m128i kept = _mm_andnot_si128(_mm_or_si128(whiteBytes, greyBytes), parts[s]);
        const __m128i result = _mm_or_si128(
            kept, _mm_or_si128(whiteBytes, _mm_and_si128(greyBytes, frame::TripledPart(values, s))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 16 * s), result);
      }
    }
    for (; x < end; ++x)
      FinishPixel(colour + 3 * x, luminance[x], (whitened >> (x - x0) & 1) != 0 || luminance[x] > background,
                  greys);
  }
}
#endif  // VF_HAS_SSE2

// The final colours of image row y in the raster, once the isolated pixels of
// rows y - 1 .. y + 1 are known. In the plain order of steps a pixel ends
// white when it is background or in the 3 x 3 block of an isolated pixel
// (a block whitened before its stretch leaves its blue byte 255, one
// whitened after overwrites the grey); any other pixel is stretched unless
// its own blue byte is 255.
void FinishRow(const frame::BorderedRaster& raster, const BitRows& rows, int32_t y, uint8_t background,
               uint32_t factor, const uint8_t* greys) {
#ifdef VF_HAS_SSE2
  if (frame::CanUseSsse3()) {
    FinishRowSsse3(raster, rows, y, background, factor, greys);
    return;
  }
#endif
  const Bits* below = rows.IsolatedRow(y - 1);
  const Bits* own = rows.IsolatedRow(y);
  const Bits* above = rows.IsolatedRow(y + 1);
  const uint8_t* luminance = raster.Lum(y, 0);
  uint8_t* colour = raster.Pixel(y, 0);
  for (int32_t x0 = 0; x0 < raster.width; x0 += kBitsPerWord) {
    const int32_t w = x0 / kBitsPerWord;
    const Bits whitened = Widened(below, w) | Widened(own, w) | Widened(above, w);
    const int32_t end = raster.width - x0 < kBitsPerWord ? raster.width : x0 + kBitsPerWord;
    for (int32_t x = x0; x < end; ++x)
      FinishPixel(colour + 3 * x, luminance[x], (whitened >> (x - x0) & 1) != 0 || luminance[x] > background,
                  greys);
  }
}

}  // namespace

frame::RasterLayout WorkingRasterLayout() {
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = true;
  layout.luminanceInitial = 255;
  layout.colourSides = frame::BorderFill::EdgeRepeat;
  layout.colourRows = frame::BorderFill::EdgeRepeat;
  layout.luminanceBorder = frame::BorderFill::Unfilled;
  return layout;
}

uint64_t ScratchBytesFor(const frame::DibImage& image) {
  return frame::CheckedProduct(BitRowWords(image.width > 0 ? image.width : 0), sizeof(Bits));
}

uint32_t ContrastFactor(uint8_t background) {
  return background > 4 ? 25000u / (background - 4u) : 25000u;
}

// Row by row: the dark bits of the plane row two above, the isolated pixels
// of the row, then the final colours of the row below it (the last row's
// after the loop). Colours reach the image only at the end, so working one
// row behind changes nothing the host can see between the rows.
int64_t Despeckle(const frame::DibImage& image, const frame::BorderedRaster& raster, const Settings& settings,
                  uint8_t* scratch, frame::RowCadence& cadence) {
  const uint8_t background = settings.background;
  const uint32_t factor = ContrastFactor(background);
  uint8_t greyOf[256];
  for (int32_t luminance = 0; luminance < 256; ++luminance)
    greyOf[luminance] = StretchedGrey(static_cast<uint8_t>(luminance), factor);
  const uint8_t* greys = settings.contrast != 0 ? greyOf : nullptr;

  const BitRows rows = BitRowsIn(scratch, raster.width);
  const int32_t cells = static_cast<int32_t>(raster.luminancePitch);
  const auto markPlaneRow = [&](int32_t planeRow) {
    MarkDark(raster.Lum(planeRow - 2, -2), cells, background, rows.DarkRow(planeRow), rows.words);
  };
  for (int32_t planeRow = 0; planeRow < 4; ++planeRow) markPlaneRow(planeRow);
  rows.ClearIsolated(-1);
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    markPlaneRow(y + 4);
    rows.ClearIsolated(y);
    processed += MarkIsolated(rows, y, raster.width);
    if (y > 0) FinishRow(raster, rows, y - 1, background, factor, greys);
    cadence.AfterRow(y);
  }
  rows.ClearIsolated(image.height);
  FinishRow(raster, rows, image.height - 1, background, factor, greys);
  return processed;
}

void CopyRasterIntoImage(const frame::BorderedRaster& raster, const frame::DibImage& image) {
  for (int32_t y = 0; y < image.height; ++y)
    std::memcpy(image.Row(y), raster.Pixel(y, 0), 3 * static_cast<std::size_t>(image.width));
}

}  // namespace despeckle
