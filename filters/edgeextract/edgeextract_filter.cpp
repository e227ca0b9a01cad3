// edgeextract's pixel decisions. Every measure is symmetric (the difference of
// a and b is that of b and a), so each pair of touching places is measured
// once and serves both: per row the horizontal pairs, and per pair of rows
// the vertical and both diagonal pairs, which the next row reads again as its
// upper pairs. Each place's colour is worked out once per run. The rows live
// in the working block after the raster; the pairs and the decisions run on
// 8 or 16 places at a time where SSE2 is there, the luminances and the
// stores of the levels 16 at a time where SSSE3 is.
#include "edgeextract_filter.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "frame/hsv.h"
#include "frame/hsv_lanes.h"
#include "frame/simd.h"

namespace edgeextract {
namespace {

// Rows run from index -kPad to W + kPad - 1, so that 16 lanes starting at
// any index from -1 to W - 1, and the place after the last of them, stay
// inside.
constexpr int32_t kPad = 17;
constexpr int32_t kByteLanes = 16;
constexpr int32_t kWordLanes = 8;

uint64_t RowLength(int32_t width) {
  return static_cast<uint64_t>(width) + 2 * kPad;
}

uint8_t AbsoluteDifference(int32_t a, int32_t b) {
  return static_cast<uint8_t>(a > b ? a - b : b - a);
}

// The hue term with the fold at 255: floor(distance x (S1 V1 + S2 V2) /
// (255 x 510)).
constexpr uint32_t kHueDivisor = static_cast<uint32_t>(frame::kWideHueFold) * 510;
constexpr uint32_t kLargestHueProduct = 255u * 2 * 255 * 255;  // the largest distance and both S x V

// Luminance: one byte a place.
struct DensityMeasure {
  using Row = uint8_t*;
  static Row RowAt(uint8_t* bytes, std::size_t) { return bytes + kPad; }
  static void Convert(const uint8_t* bgr, int32_t count, Row out) { frame::LuminanceRow(bgr, count, out); }
  static Row From(Row row, intptr_t i) { return row + i; }
  static void RunPlain(Row a, Row b, int32_t count, uint8_t* out) {
    for (int32_t i = 0; i < count; ++i) out[i] = AbsoluteDifference(a[i], b[i]);
  }
#ifdef VF_HAS_SSE2
  VF_SSE2_TARGET static void RunSse2(Row a, Row b, int32_t count, uint8_t* out) {
    for (int32_t i = 0; i < count; i += kByteLanes) {
      const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
      const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                       _mm_or_si128(_mm_subs_epu8(first, second), _mm_subs_epu8(second, first)));
    }
  }
#endif
};

// The HSV measures: five 16-bit fields a place (frame/hsv_lanes.h).
template <Measure kMeasure>
struct HsvMeasure {
  using Row = frame::HsvFields;
  // Each field of the row takes length places.
  static Row RowAt(uint8_t* bytes, std::size_t length) {
    int16_t* field = reinterpret_cast<int16_t*>(bytes) + kPad;
    return {field, field + length, field + 2 * length, field + 3 * length, field + 4 * length};
  }
  static void Convert(const uint8_t* bgr, int32_t count, const Row& out) {
    frame::ConvertToHsvFields(bgr, count, out);
  }
  static Row From(const Row& row, intptr_t i) { return row.From(i); }

  static uint8_t Between(const Row& a, const Row& b, int32_t i) {
    const uint8_t saturation = AbsoluteDifference(a.saturation[i], b.saturation[i]);
    const uint8_t value = AbsoluteDifference(a.value[i], b.value[i]);
    if (kMeasure == kSaturation) return saturation;
    if (kMeasure != kHsvCombined && kMeasure != kHue) return value;
    uint32_t distance =
        static_cast<uint32_t>(a.hue[i] > b.hue[i] ? a.hue[i] - b.hue[i] : b.hue[i] - a.hue[i]);
    if (distance > static_cast<uint32_t>(frame::kWideHueFold))
      distance = 2 * static_cast<uint32_t>(frame::kWideHueFold) - distance;
    const uint32_t weights = static_cast<uint32_t>(frame::WeightOf(a.weightHigh[i], a.weightLow[i]) +
                                                   frame::WeightOf(b.weightHigh[i], b.weightLow[i]));
    const uint32_t hue = distance * weights / kHueDivisor;
    if (kMeasure == kHue) return static_cast<uint8_t>(hue);
    return static_cast<uint8_t>((hue + saturation + value) / 3);
  }
  static void RunPlain(const Row& a, const Row& b, int32_t count, uint8_t* out) {
    for (int32_t i = 0; i < count; ++i) out[i] = Between(a, b, i);
  }

#ifdef VF_HAS_SSE2
  // floor(n / kHueDivisor) in 32-bit lanes, as n x ceil(2^42 / kHueDivisor)
  // shifted down by 42, which is exact for n x kHueDivisor < 2^42 (the
  // argument of frame::ReciprocalQuotient).
  static constexpr int kHueShift = 42;
  static constexpr uint32_t kHueReciprocal =
      static_cast<uint32_t>(((uint64_t{1} << kHueShift) + kHueDivisor - 1) / kHueDivisor);
  static_assert(uint64_t{kLargestHueProduct} * kHueDivisor < (uint64_t{1} << kHueShift),
                "the hue quotient by multiplication is exact");
  VF_SSE2_TARGET static __m128i HueTerms(__m128i products) {
    const __m128i reciprocal = _mm_set1_epi32(static_cast<int32_t>(kHueReciprocal));
    const __m128i even = _mm_srli_epi64(_mm_mul_epu32(products, reciprocal), kHueShift);
    const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(products, 32), reciprocal), kHueShift);
    return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
  }
  // n / 3 for n up to 765 as the high half of n x ceil(2^16 / 3): exact while
  // n x (3 x 21846 - 2^16) = 2 n stays below 2^16.
  static constexpr uint16_t kThird = 21846;
  static_assert(3 * kThird - 65536 == 2 && 2 * 765 < 65536, "n / 3 by multiplication is exact");

  VF_SSE2_TARGET static __m128i Load(const int16_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  }
  VF_SSE2_TARGET static void RunSse2(const Row& a, const Row& b, int32_t count, uint8_t* out) {
    for (int32_t i = 0; i < count; i += kWordLanes) {
      const __m128i saturation = frame::AbsoluteDifferences16(Load(a.saturation + i), Load(b.saturation + i));
      const __m128i value = frame::AbsoluteDifferences16(Load(a.value + i), Load(b.value + i));
      __m128i difference;
      if (kMeasure == kSaturation) {
        difference = saturation;
      } else if (kMeasure != kHsvCombined && kMeasure != kHue) {
        difference = value;
      } else {
        const __m128i turn = frame::AbsoluteDifferences16(Load(a.hue + i), Load(b.hue + i));
        const __m128i distance =
            _mm_min_epi16(turn, _mm_sub_epi16(_mm_set1_epi16(2 * frame::kWideHueFold), turn));
        __m128i first, second;
        frame::HueWeightProducts(distance, _mm_add_epi16(Load(a.weightHigh + i), Load(b.weightHigh + i)),
                                 _mm_add_epi16(Load(a.weightLow + i), Load(b.weightLow + i)), &first,
                                 &second);
        const __m128i hue = _mm_packs_epi32(HueTerms(first), HueTerms(second));
        difference = kMeasure == kHue ? hue
                                      : _mm_mulhi_epu16(_mm_add_epi16(hue, _mm_add_epi16(saturation, value)),
                                                        _mm_set1_epi16(static_cast<int16_t>(kThird)));
      }
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(difference, difference));
    }
  }
#endif
};

// The differences of the pairs between raster rows r and r + 1: vertical[x]
// of (r, x) and (r + 1, x); falling[x] of (r, x) and (r + 1, x + 1); rising[x]
// of (r, x + 1) and (r + 1, x).
struct RowPairDifferences {
  uint8_t* vertical;
  uint8_t* falling;
  uint8_t* rising;
};

// The eight differences of the blocks of a row, from the shared pairs.
struct BlockPairs {
  const RowPairDifferences& upper;  // rows y - 1 and y
  const RowPairDifferences& lower;  // rows y and y + 1
  const uint8_t* horizontal;        // row y: horizontal[x] of (y, x) and (y, x + 1)
};

// Bytes of the scratch: two rows of places (a ring: row r in slot r mod 2)
// and the byte rows of the pairs, the horizontal pairs and the levels.
constexpr int32_t kPlaceRows = 2;
constexpr int32_t kByteRows = 8;
constexpr uint64_t kLargestFieldBytes = 5 * sizeof(int16_t);

class ScratchRows {
 public:
  static uint64_t BytesFor(int32_t width) {
    return (kPlaceRows * kLargestFieldBytes + kByteRows) * RowLength(width);
  }

  ScratchRows(uint8_t* scratch, int32_t width) : scratch_(scratch), width_(width) {
    // The wide lanes read and write past the row's places (their results are
    // dropped): the rows are given a value once.
    std::memset(scratch, 0, static_cast<std::size_t>(BytesFor(width)));
    const std::size_t length = static_cast<std::size_t>(RowLength(width));
    uint8_t* bytes = scratch + kPlaceRows * kLargestFieldBytes * length;
    uint8_t* row[kByteRows];
    for (int32_t i = 0; i < kByteRows; ++i) row[i] = bytes + i * length + kPad;
    upper_ = {row[0], row[1], row[2]};
    lower_ = {row[3], row[4], row[5]};
    horizontal_ = row[6];
    levels_ = row[7];
  }

  uint8_t* PlaceBytes(int32_t r) const {
    return scratch_ + static_cast<std::size_t>((r + 2) % kPlaceRows) * kLargestFieldBytes * RowLength(width_);
  }
  const RowPairDifferences& upper() const { return upper_; }
  const RowPairDifferences& lower() const { return lower_; }
  void MoveDown() { std::swap(upper_, lower_); }
  uint8_t* horizontal() const { return horizontal_; }
  uint8_t* levels() const { return levels_; }

 private:
  uint8_t* scratch_;
  int32_t width_;
  RowPairDifferences upper_ = {}, lower_ = {};
  uint8_t* horizontal_ = nullptr;
  uint8_t* levels_ = nullptr;
};

template <typename Measure>
void MeasureRun(const typename Measure::Row& a, const typename Measure::Row& b, int32_t count, uint8_t* out) {
#ifdef VF_HAS_SSE2
  if (frame::CanUseSse2()) return Measure::RunSse2(a, b, count, out);
#endif
  Measure::RunPlain(a, b, count, out);
}

// The pairs of places x = -1 .. W - 1 with their neighbours.
template <typename Measure>
void MeasureBetweenRows(const typename Measure::Row& above, const typename Measure::Row& below, int32_t width,
                        const RowPairDifferences& out) {
  const int32_t count = width + 1;
  MeasureRun<Measure>(Measure::From(above, -1), Measure::From(below, 0), count, out.falling - 1);
  MeasureRun<Measure>(Measure::From(above, 0), Measure::From(below, -1), count, out.rising - 1);
  MeasureRun<Measure>(Measure::From(above, -1), Measure::From(below, -1), count, out.vertical - 1);
}

template <typename Measure>
void MeasureInRow(const typename Measure::Row& row, int32_t width, uint8_t* horizontal) {
  MeasureRun<Measure>(Measure::From(row, -1), Measure::From(row, 0), width + 1, horizontal - 1);
}

void ClassifyRowPlain(const BlockPairs& pairs, int32_t width, int32_t threshold, uint8_t* levels) {
  for (int32_t x = 0; x < width; ++x) {
    const BlockDifferences d = {
        {pairs.upper.falling[x - 1], pairs.upper.vertical[x], pairs.upper.rising[x]},
        {pairs.horizontal[x - 1], 0, pairs.horizontal[x]},
        {pairs.lower.rising[x - 1], pairs.lower.vertical[x], pairs.lower.falling[x]},
    };
    levels[x] = ClassifyBlock(d, threshold);
  }
}

#ifdef VF_HAS_SSE2

VF_SSE2_TARGET inline __m128i LoadBytes(const uint8_t* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// All ones in the lanes above the threshold.
VF_SSE2_TARGET inline __m128i Above(__m128i value, __m128i threshold) {
  return _mm_andnot_si128(_mm_cmpeq_epi8(_mm_subs_epu8(value, threshold), _mm_setzero_si128()),
                          _mm_set1_epi8(-1));
}

// (a + b) / 2 rounded down: the rounding-up average less the odd bit.
VF_SSE2_TARGET inline __m128i HalfSum(__m128i a, __m128i b) {
  return _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1)));
}

// ClassifyBlock on 16 pixels at a time; the lanes past the row's end are
// worked out from padding and not used.
VF_SSE2_TARGET void ClassifyRowSse2(const BlockPairs& pairs, int32_t width, int32_t threshold,
                                    uint8_t* levels) {
  const __m128i limit = _mm_set1_epi8(static_cast<char>(threshold));
  for (int32_t x = 0; x < width; x += kByteLanes) {
    const __m128i ul = LoadBytes(pairs.upper.falling + x - 1), u = LoadBytes(pairs.upper.vertical + x),
                  ur = LoadBytes(pairs.upper.rising + x);
    const __m128i l = LoadBytes(pairs.horizontal + x - 1), r = LoadBytes(pairs.horizontal + x);
    const __m128i dl = LoadBytes(pairs.lower.rising + x - 1), dn = LoadBytes(pairs.lower.vertical + x),
                  dr = LoadBytes(pairs.lower.falling + x);
    const __m128i top = _mm_and_si128(Above(u, limit), Above(HalfSum(ul, ur), limit));
    const __m128i left = _mm_and_si128(Above(l, limit), Above(HalfSum(ul, dl), limit));
    const __m128i bottom = _mm_and_si128(Above(dn, limit), Above(HalfSum(dl, dr), limit));
    const __m128i right = _mm_and_si128(Above(r, limit), Above(HalfSum(ur, dr), limit));
    const __m128i boundary = _mm_or_si128(_mm_or_si128(top, left), _mm_or_si128(bottom, right));
    const __m128i corner = Above(_mm_max_epu8(_mm_max_epu8(ul, ur), _mm_max_epu8(dl, dr)), limit);
    // White less (white - grey) where a corner differs; black on a boundary.
    const __m128i unbounded =
        _mm_xor_si128(_mm_set1_epi8(static_cast<char>(kPlainLevel)),
                      _mm_and_si128(corner, _mm_set1_epi8(static_cast<char>(kPlainLevel ^ kCornerLevel))));
    const __m128i level = _mm_or_si128(_mm_andnot_si128(boundary, unbounded),
                                       _mm_and_si128(boundary, _mm_set1_epi8(kBoundaryLevel)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + x), level);
  }
}

#endif  // VF_HAS_SSE2

void ClassifyRow(const BlockPairs& pairs, int32_t width, int32_t threshold, uint8_t* levels) {
#ifdef VF_HAS_SSE2
  if (frame::CanUseSse2()) return ClassifyRowSse2(pairs, width, threshold, levels);
#endif
  ClassifyRowPlain(pairs, width, threshold, levels);
}

#ifdef VF_HAS_SSE2
// Sixteen levels at a time, each spread over its pixel's three bytes;
// returns the pixels done.
VF_SSSE3_TARGET int32_t StoreLevelsSsse3(const uint8_t* levels, int32_t width, uint8_t* pixels) {
  int32_t x = 0;
  for (; x + kByteLanes <= width; x += kByteLanes, pixels += 3 * kByteLanes) {
    const __m128i level = frame::LoadBytes(levels + x);
    for (int part = 0; part < 3; ++part)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + 16 * part), frame::TripledPart(level, part));
  }
  return x;
}
#endif

// Each level into all three bytes of its pixel: four bytes at a time, the
// fourth rewritten by the next pixel, and three for the last.
void StoreLevels(const uint8_t* levels, int32_t width, uint8_t* pixels) {
  int32_t x = 0;
#ifdef VF_HAS_SSE2
  if (frame::CanUseSsse3()) x = StoreLevelsSsse3(levels, width, pixels);
#endif
  uint8_t* pixel = pixels + 3 * static_cast<intptr_t>(x);
  for (; x + 1 < width; ++x, pixel += 3) {
    const uint32_t word = levels[x] * 0x01010101u;
    std::memcpy(pixel, &word, 4);
  }
  if (x < width) std::memset(pixel, levels[x], 3);
}

template <typename Measure>
int64_t ClassifyAll(const frame::DibImage& image, const frame::BorderedRaster& raster, int32_t threshold,
                    uint8_t* scratch, frame::RowCadence& cadence) {
  const int32_t width = raster.width;
  ScratchRows rows(scratch, width);
  const std::size_t length = static_cast<std::size_t>(RowLength(width));
  const auto places = [&](int32_t r) { return Measure::RowAt(rows.PlaceBytes(r), length); };
  const auto convert = [&](int32_t r) {
    Measure::Convert(raster.Pixel(r, -1), width + 2, Measure::From(places(r), -1));
  };
  convert(-1);
  convert(0);
  MeasureBetweenRows<Measure>(places(-1), places(0), width, rows.upper());
  for (int32_t y = 0; y < image.height; ++y) {
    convert(y + 1);
    MeasureBetweenRows<Measure>(places(y), places(y + 1), width, rows.lower());
    MeasureInRow<Measure>(places(y), width, rows.horizontal());
    ClassifyRow({rows.upper(), rows.lower(), rows.horizontal()}, width, threshold, rows.levels());
    StoreLevels(rows.levels(), width, image.Row(y));
    rows.MoveDown();
    cadence.AfterRow(y);
  }
  return static_cast<int64_t>(width) * image.height;
}

}  // namespace

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = false;
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  layout.colourSides = fill;
  layout.colourRows = fill;
  return layout;
}

uint8_t ClassifyBlock(const BlockDifferences& d, int32_t threshold) {
  const int32_t ul = d[0][0], u = d[0][1], ur = d[0][2];
  const int32_t l = d[1][0], r = d[1][2];
  const int32_t dl = d[2][0], dn = d[2][1], dr = d[2][2];
  const auto differs = [threshold](int32_t value) { return value > threshold; };
  const bool boundary = (differs(u) && differs((ul + ur) / 2)) || (differs(l) && differs((ul + dl) / 2)) ||
                        (differs(dn) && differs((dl + dr) / 2)) || (differs(r) && differs((ur + dr) / 2));
  if (boundary) return kBoundaryLevel;
  const bool anyCorner = differs(ul) || differs(ur) || differs(dl) || differs(dr);
  return anyCorner ? kCornerLevel : kPlainLevel;
}

uint64_t ScratchBytesFor(const frame::DibImage& image) {
  return ScratchRows::BytesFor(image.width > 0 ? image.width : 0);
}

int64_t ExtractBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                          const Settings& settings, uint8_t* scratch, frame::RowCadence& cadence) {
  if (raster.width == 0) {  // rows without pixels: nothing to convert (the raster is left unfilled)
    for (int32_t y = 0; y < image.height; ++y) cadence.AfterRow(y);
    return 0;
  }
  const int32_t threshold = settings.threshold;
  switch (settings.measure) {
    case kDensity:
      return ClassifyAll<DensityMeasure>(image, raster, threshold, scratch, cadence);
    case kHsvCombined:
      return ClassifyAll<HsvMeasure<kHsvCombined>>(image, raster, threshold, scratch, cadence);
    case kHue:
      return ClassifyAll<HsvMeasure<kHue>>(image, raster, threshold, scratch, cadence);
    case kSaturation:
      return ClassifyAll<HsvMeasure<kSaturation>>(image, raster, threshold, scratch, cadence);
    default:  // a measure past the last counts as value
      return ClassifyAll<HsvMeasure<kValue>>(image, raster, threshold, scratch, cadence);
  }
}

}  // namespace edgeextract
