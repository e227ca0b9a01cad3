// regionavg's pixel averages. Every place's HSV colour is worked out once per
// run into rows of 16-bit fields (five rows kept at a time, in the working
// block after the raster). Where SSE2 is there, the test of a pair of places
// is symmetric, so each pair is tested once, eight places at a time: per row
// of places the masks of its pairs with the 12 places after it (the rest of
// its row, and the two rows below), which the pixels of up to three rows of
// blocks then share. Without SSE2 each pixel tests its 25 places in turn.
#include "regionavg_filter.h"

#include <cstddef>
#include <cstring>

#include "frame/hsv.h"
#include "frame/hsv_lanes.h"
#include "frame/simd.h"

namespace regionavg {
namespace {

constexpr int32_t kReach = 2;  // the block is the pixel and 2 places on every side
constexpr int32_t kBlockRows = 2 * kReach + 1;
constexpr int32_t kLanes = 8;
// Places run from x = -kReach to W + kReach - 1. The pairs are tested for
// groups of kLanes places from -kReach on, with places up to kReach beyond
// the group on either side, so the rows of places and masks have room for
// kLead places before x = 0 and kTail after x = W - 1.
constexpr int32_t kLead = 2 * kReach;
constexpr int32_t kTail = kReach + kLanes + kReach;
constexpr uint64_t RowLength(int32_t width) {
  return kLead + static_cast<uint64_t>(width) + kTail;
}

// The places after a place whose pairs with it are tested from it: the rest
// of its row and the two rows below. Its pairs with the 12 places before it
// are those places' own.
struct Offset {
  int32_t dy, dx;
};
constexpr Offset kAfter[] = {{0, 1}, {0, 2},  {1, -2}, {1, -1}, {1, 0}, {1, 1},
                             {1, 2}, {2, -2}, {2, -1}, {2, 0},  {2, 1}, {2, 2}};
constexpr int32_t kPairsAfter = sizeof(kAfter) / sizeof(kAfter[0]);
static_assert(2 * kPairsAfter + 1 == kBlockRows * kBlockRows, "the pairs after and before and the centre");

// The hue term's divisor with the circular fold: 180 x 510.
constexpr int32_t kHueDivisor = frame::kCircularHueFold * 510;

// A place takes part when (hue term + |dS| + |dV|) / 3 < T, i.e. when
// hue term < L with L = 3T - |dS| - |dV|. With the hue term
// floor(distance x P / kHueDivisor) (P the sum of both places' S x V) and
// L >= 1, floor(X / q) < L holds exactly when X < L x q; with L <= 0 neither
// holds, since X >= 0. So the test needs no division:
//   distance x P < (3T - |dS| - |dV|) x kHueDivisor,
// where the left side is at most 180 x 130050 and the right one lies within
// +-765 x 91800, both inside 32 bits.
//
// S x V is kept split as frame/hsv_lanes.h says.
enum Field { kHue, kSaturation, kValue, kWeightHigh, kWeightLow, kBlue, kGreen, kRed, kFieldCount };

// The sums of the channels are at most 25 x 255, the count at most 25; the
// mean is the sum times the rounded-up 2^18 / count, shifted down by 18. That
// is the truncating quotient while sum x count < 2^18 (6375 x 25 = 159375),
// which the static_assert below checks for every pair.
constexpr int32_t kMeanShift = 18;
constexpr uint32_t kMaxSum = 25 * 255;
constexpr uint32_t kMaxCount = 25;
constexpr uint32_t MeanFactor(uint32_t count) {
  return ((uint32_t{1} << kMeanShift) + count - 1) / count;
}
constexpr bool MeansAreExact() {
  for (uint32_t count = 1; count <= kMaxCount; ++count) {
    for (uint32_t sum = 0; sum <= kMaxSum; ++sum) {
      if ((sum * MeanFactor(count)) >> kMeanShift != sum / count) return false;
    }
  }
  return true;
}
static_assert(MeansAreExact(), "the mean by multiplication is the truncating quotient");

struct MeanFactors {
  uint32_t of[kMaxCount + 1];
  constexpr MeanFactors() : of() {
    for (uint32_t count = 1; count <= kMaxCount; ++count) of[count] = MeanFactor(count);
  }
};
constexpr MeanFactors kMeanFactors;

// Five rows of places, each as kFieldCount arrays of 16-bit fields; raster
// row r in slot (r + kReach) mod 5.
class PlaceRows {
 public:
  static uint64_t BytesFor(int32_t width) {
    return uint64_t{kBlockRows} * kFieldCount * RowLength(width) * sizeof(int16_t);
  }

  PlaceRows(uint8_t* scratch, int32_t width) : fields_(reinterpret_cast<int16_t*>(scratch)), width_(width) {
    // The lanes of the last group read past the row's places (and drop what
    // they find): they are given a value once.
    std::memset(scratch, 0, static_cast<std::size_t>(BytesFor(width)));
  }

  // Field f of raster row r (from -kReach), at place x = 0.
  int16_t* Field(int32_t r, int32_t f) const {
    const std::size_t slot = static_cast<std::size_t>((r + kReach) % kBlockRows);
    return fields_ +
           (slot * kFieldCount + static_cast<std::size_t>(f)) * static_cast<std::size_t>(RowLength(width_)) +
           kLead;
  }

  // The HSV fields of raster row r, at place x = 0.
  frame::HsvFields HsvOf(int32_t r) const {
    return {Field(r, kHue), Field(r, kSaturation), Field(r, kValue), Field(r, kWeightHigh),
            Field(r, kWeightLow)};
  }

  void Convert(const frame::BorderedRaster& raster, int32_t r) {
    const frame::HsvFields hsv = HsvOf(r);
    const uint8_t* bgr = raster.Pixel(r, -kReach);
    const int32_t count = width_ + 2 * kReach;
    frame::ConvertToHsvFields(bgr, count, hsv.From(-kReach));
    int16_t* blue = Field(r, kBlue) - kReach;
    int16_t* green = Field(r, kGreen) - kReach;
    int16_t* red = Field(r, kRed) - kReach;
    for (int32_t i = 0; i < count; ++i, bgr += 3) {
      blue[i] = bgr[0];
      green[i] = bgr[1];
      red[i] = bgr[2];
    }
  }

 private:
  int16_t* fields_;
  int32_t width_;
};

// Three rows of masks, one for each place after a place (kAfter): all ones in
// a place's 16-bit lane where the pair takes part. Row r of places in slot
// (r + kReach) mod 3, for its pairs with the places after it.
class MaskRows {
 public:
  static constexpr int32_t kRows = kReach + 1;
  static uint64_t BytesFor(int32_t width) {
    return uint64_t{kRows} * kPairsAfter * RowLength(width) * sizeof(int16_t);
  }

  MaskRows(uint8_t* scratch, int32_t width) : masks_(reinterpret_cast<int16_t*>(scratch)), width_(width) {
    std::memset(scratch, 0, static_cast<std::size_t>(BytesFor(width)));
  }

  // The masks of row r's places with their place kAfter[k], at place x = 0.
  int16_t* Of(int32_t r, int32_t k) const {
    const std::size_t slot = static_cast<std::size_t>((r + kReach) % kRows);
    return masks_ +
           (slot * kPairsAfter + static_cast<std::size_t>(k)) * static_cast<std::size_t>(RowLength(width_)) +
           kLead;
  }

 private:
  int16_t* masks_;
  int32_t width_;
};

// The sums of the places taking part in one pixel's block.
struct BlockSums {
  uint32_t blue, green, red, count;
};

int32_t Absolute(int32_t value) {
  return value < 0 ? -value : value;
}

// One pixel's block, one place at a time.
BlockSums SumsOfSimilar(const PlaceRows& rows, int32_t y, int32_t x, int32_t limit) {
  const auto centre = [&](int32_t f) { return static_cast<int32_t>(rows.Field(y, f)[x]); };
  const int32_t h = centre(kHue), s = centre(kSaturation), v = centre(kValue);
  const int32_t weight = frame::WeightOf(centre(kWeightHigh), centre(kWeightLow));
  BlockSums sums = {0, 0, 0, 0};
  for (int32_t r = y - kReach; r <= y + kReach; ++r) {
    const int16_t* field[kFieldCount];
    for (int32_t f = 0; f < kFieldCount; ++f) field[f] = rows.Field(r, f);
    for (int32_t n = x - kReach; n <= x + kReach; ++n) {
      int32_t distance = Absolute(field[kHue][n] - h);
      if (distance > frame::kCircularHueFold) distance = 2 * frame::kCircularHueFold - distance;
      const int32_t room = limit - Absolute(field[kSaturation][n] - s) - Absolute(field[kValue][n] - v);
      const int32_t pairWeight = weight + frame::WeightOf(field[kWeightHigh][n], field[kWeightLow][n]);
      if (distance * pairWeight >= room * kHueDivisor) continue;
      sums.blue += static_cast<uint32_t>(field[kBlue][n]);
      sums.green += static_cast<uint32_t>(field[kGreen][n]);
      sums.red += static_cast<uint32_t>(field[kRed][n]);
      ++sums.count;
    }
  }
  return sums;
}

// Writes the mean when any place took part.
bool StoreMean(const BlockSums& sums, uint8_t* pixel) {
  if (sums.count == 0) return false;
  const uint32_t factor = kMeanFactors.of[sums.count];
  pixel[0] = static_cast<uint8_t>((sums.blue * factor) >> kMeanShift);
  pixel[1] = static_cast<uint8_t>((sums.green * factor) >> kMeanShift);
  pixel[2] = static_cast<uint8_t>((sums.red * factor) >> kMeanShift);
  return true;
}

int64_t AverageRowPlain(const frame::DibImage& image, const PlaceRows& rows, int32_t y, int32_t limit) {
  int64_t averaged = 0;
  for (int32_t x = 0; x < image.width; ++x) {
    if (StoreMean(SumsOfSimilar(rows, y, x, limit), image.Pixel(y, x))) ++averaged;
  }
  return averaged;
}

#ifdef VF_HAS_SSE2

VF_SSE2_TARGET inline __m128i Load(const int16_t* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// All ones in the 16-bit lanes where distance x (S x V of both places) <
// room x kHueDivisor, the products formed in 32 bits.
VF_SSE2_TARGET inline __m128i HueTermBelow(__m128i distance, __m128i high, __m128i low, __m128i room) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i quarterDivisor = _mm_set1_epi32(kHueDivisor / 4);
  __m128i productLow, productHigh;
  frame::HueWeightProducts(distance, high, low, &productLow, &productHigh);
  const __m128i boundLow = _mm_slli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(room, zero), quarterDivisor), 2);
  const __m128i boundHigh = _mm_slli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(room, zero), quarterDivisor), 2);
  return _mm_packs_epi32(_mm_cmplt_epi32(productLow, boundLow), _mm_cmplt_epi32(productHigh, boundHigh));
}
static_assert(kHueDivisor % 4 == 0 && kHueDivisor / 4 < 32768, "the bound's factor fits a 16-bit lane");

// A group of places' fields in 16-bit lanes.
struct PlaceLanes {
  __m128i hue, saturation, value, weightHigh, weightLow;
};

VF_SSE2_TARGET inline PlaceLanes LoadPlaces(const frame::HsvFields& fields, int32_t x) {
  return {Load(fields.hue + x), Load(fields.saturation + x), Load(fields.value + x),
          Load(fields.weightHigh + x), Load(fields.weightLow + x)};
}

// All ones in the lanes whose pair of places takes part (the test above).
VF_SSE2_TARGET inline __m128i TakesPart(const PlaceLanes& a, const PlaceLanes& b, __m128i limits) {
  const __m128i turn = frame::AbsoluteDifferences16(a.hue, b.hue);
  const __m128i distance =
      _mm_min_epi16(turn, _mm_sub_epi16(_mm_set1_epi16(2 * frame::kCircularHueFold), turn));
  const __m128i room =
      _mm_sub_epi16(limits, _mm_add_epi16(frame::AbsoluteDifferences16(a.saturation, b.saturation),
                                          frame::AbsoluteDifferences16(a.value, b.value)));
  return HueTermBelow(distance, _mm_add_epi16(a.weightHigh, b.weightHigh),
                      _mm_add_epi16(a.weightLow, b.weightLow), room);
}

// The masks of row r's places x = -kReach .. W + kReach - 1 with the places
// after them.
VF_SSE2_TARGET void TestPairsAfterSse2(const PlaceRows& rows, const MaskRows& masks, int32_t r, int32_t width,
                                       int32_t limit) {
  const __m128i limits = _mm_set1_epi16(static_cast<int16_t>(limit));
  const frame::HsvFields places = rows.HsvOf(r);
  frame::HsvFields after[kPairsAfter];
  int16_t* out[kPairsAfter];
  for (int32_t k = 0; k < kPairsAfter; ++k) {
    after[k] = rows.HsvOf(r + kAfter[k].dy).From(kAfter[k].dx);
    out[k] = masks.Of(r, k);
  }
  for (int32_t x = -kReach; x < width + kReach; x += kLanes) {
    const PlaceLanes place = LoadPlaces(places, x);
    for (int32_t k = 0; k < kPairsAfter; ++k)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out[k] + x),
                       TakesPart(place, LoadPlaces(after[k], x), limits));
  }
}

// A place of the blocks of a row (at the same offset from each pixel), with
// the masks of where it takes part.
struct Term {
  const int16_t* mask;
  const int16_t* blue;
  const int16_t* green;
  const int16_t* red;
};

// The sums of the places of a block that take part.
struct SumLanes {
  __m128i blue, green, red, count;
};

VF_SSE2_TARGET inline void AddIfTakingPart(SumLanes& sums, __m128i takesPart, const Term& term, int32_t x) {
  sums.blue = _mm_add_epi16(sums.blue, _mm_and_si128(takesPart, Load(term.blue + x)));
  sums.green = _mm_add_epi16(sums.green, _mm_and_si128(takesPart, Load(term.green + x)));
  sums.red = _mm_add_epi16(sums.red, _mm_and_si128(takesPart, Load(term.red + x)));
  sums.count = _mm_sub_epi16(sums.count, takesPart);
}

// Pixels x .. x + 7 of row y: the centre, which takes part with itself
// whenever T is 1 or more, and the other places by their masks. Lanes past
// the row's end are not stored.
VF_SSE2_TARGET int64_t AverageGroupSse2(const frame::DibImage& image, const Term& centre,
                                        __m128i centreTakesPart, const Term* terms, int32_t y, int32_t x) {
  SumLanes sums = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
  AddIfTakingPart(sums, centreTakesPart, centre, x);
  for (int32_t t = 0; t < 2 * kPairsAfter; ++t) AddIfTakingPart(sums, Load(terms[t].mask + x), terms[t], x);
  uint16_t lanes[4][kLanes];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[0]), sums.blue);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[1]), sums.green);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[2]), sums.red);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[3]), sums.count);
  const int32_t end = image.width - x < kLanes ? image.width - x : kLanes;
  int64_t averaged = 0;
  for (int32_t i = 0; i < end; ++i) {
    const BlockSums block = {lanes[0][i], lanes[1][i], lanes[2][i], lanes[3][i]};
    if (StoreMean(block, image.Pixel(y, x + i))) ++averaged;
  }
  return averaged;
}

// Row y from the masks of rows y - 2 .. y: each place after a pixel by the
// pixel's own mask, each place before it by that place's.
VF_SSE2_TARGET int64_t AverageRowSse2(const frame::DibImage& image, const PlaceRows& rows,
                                      const MaskRows& masks, int32_t y, int32_t limit) {
  const auto term = [&](const int16_t* mask, int32_t r, int32_t dx) {
    return Term{mask, rows.Field(r, kBlue) + dx, rows.Field(r, kGreen) + dx, rows.Field(r, kRed) + dx};
  };
  Term terms[2 * kPairsAfter];
  for (int32_t k = 0; k < kPairsAfter; ++k) {
    const Offset o = kAfter[k];
    terms[2 * k] = term(masks.Of(y, k), y + o.dy, o.dx);
    terms[2 * k + 1] = term(masks.Of(y - o.dy, k) - o.dx, y - o.dy, -o.dx);
  }
  const Term centre = term(nullptr, y, 0);
  const __m128i centreTakesPart = limit > 0 ? _mm_set1_epi16(-1) : _mm_setzero_si128();
  int64_t averaged = 0;
  for (int32_t x = 0; x < image.width; x += kLanes)
    averaged += AverageGroupSse2(image, centre, centreTakesPart, terms, y, x);
  return averaged;
}

#endif  // VF_HAS_SSE2

bool WideLanes() {
#ifdef VF_HAS_SSE2
  return frame::CanUseSse2();
#else
  return false;
#endif
}

}  // namespace

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  frame::RasterLayout layout;
  layout.border = kReach;
  layout.keepLuminance = false;
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  layout.colourSides = fill;
  layout.colourRows = fill;
  return layout;
}

uint64_t ScratchBytesFor(const frame::DibImage& image) {
  const int32_t width = image.width > 0 ? image.width : 0;
  return PlaceRows::BytesFor(width) + MaskRows::BytesFor(width);
}

int64_t AverageWithinBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                                const Settings& settings, uint8_t* scratch, frame::RowCadence& cadence) {
  if (raster.width == 0) {  // rows without pixels: nothing to convert (the raster is left unfilled)
    for (int32_t y = 0; y < image.height; ++y) cadence.AfterRow(y);
    return 0;
  }
  const int32_t width = raster.width;
  const int32_t limit = 3 * static_cast<int32_t>(settings.threshold);
  PlaceRows rows(scratch, width);
  for (int32_t r = -kReach; r < kReach; ++r) rows.Convert(raster, r);
  const bool wide = WideLanes();
#ifdef VF_HAS_SSE2
  const MaskRows masks(scratch + PlaceRows::BytesFor(width), width);
  // The pairs of the border rows above the first row of blocks.
  if (wide) {
    for (int32_t r = -kReach; r < 0; ++r) TestPairsAfterSse2(rows, masks, r, width, limit);
  }
#endif
  int64_t averaged = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    rows.Convert(raster, y + kReach);
#ifdef VF_HAS_SSE2
    if (wide) {
      TestPairsAfterSse2(rows, masks, y, width, limit);
      averaged += AverageRowSse2(image, rows, masks, y, limit);
    }
#endif
    if (!wide) averaged += AverageRowPlain(image, rows, y, limit);
    cadence.AfterRow(y);
  }
  return averaged;
}

}  // namespace regionavg
