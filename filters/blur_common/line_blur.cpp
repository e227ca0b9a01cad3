// The run of the line blurs. Each pixel's line is walked from its
// direction: every k = 1 .. L takes one step along the major axis and, by
// a fixed-point sum of the direction's ratio, the minor steps that make
// trunc(k x numerator / denominator) without a division. Truncation is
// symmetric about zero and the profile table about its centre, so sample -k
// is the mirror of sample k with the same weight: each pair is added first
// and multiplied once, two pairs in one SSE2 multiply-add. Runs of
// neighbouring pixels that share their samples are summed 16 bytes at a
// time. The weighted sums stay below 201 x 8160 x 255 < 2^32, and 32-bit
// sums are the same in any order, so every result is that of summing the
// samples one by one.
#include "line_blur.h"

#include <cstring>

#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"
#include "profile_table.h"
#include "sse2_weighted_sums.h"

// The rarer steps of a row stay out of its loop, which keeps the walk's
// values in registers.
#if defined(__GNUC__)
#define BLUR_NOINLINE __attribute__((noinline))
#else
#define BLUR_NOINLINE
#endif

namespace blur {

const RecordField kLineBlurFields[3] = {
    {offsetof(LineBlurSettings, length), 1},
    {offsetof(LineBlurSettings, centerX), 4},
    {offsetof(LineBlurSettings, centerY), 4},
};

LineBlurSettings InRange(const LineBlurSettings& settings) {
  LineBlurSettings result = settings;
  if (result.length < kMinLength) result.length = kMinLength;
  if (result.length > kMaxLength) result.length = kMaxLength;
  return result;
}

void LineSamples(const LineDirection& line, int32_t length, SampleOffset* offsets) {
  // The quotient grows by at most one a step while |numerator| <=
  // |denominator|; the loop keeps it right for any terms.
  const bool negative = (line.numerator < 0) != (line.denominator < 0);
  const int64_t step = line.numerator < 0 ? -line.numerator : line.numerator;
  const int64_t divisor = line.denominator < 0 ? -line.denominator : line.denominator;
  int64_t quotient = 0, remainder = 0;
  offsets[length] = {0, 0};
  for (int32_t k = 1; k <= length; ++k) {
    remainder += step;
    while (remainder >= divisor) {
      remainder -= divisor;
      ++quotient;
    }
    const int32_t major = k * line.majorStep;
    const int32_t across = static_cast<int32_t>(negative ? -quotient : quotient);
    const SampleOffset ahead = line.alongColumns ? SampleOffset{across, major} : SampleOffset{major, across};
    offsets[length + k] = ahead;
    offsets[length - k] = {-ahead.rows, -ahead.columns};
  }
}

namespace {

#ifdef VF_HAS_SSE2
// Whether every entry equals its mirror through the centre, so that a
// sample and its mirror weigh the same.
bool IsPointSymmetric(const uint16_t* table, int32_t length) {
  const int64_t entries = ProfileTableEntries(length);
  for (int64_t i = 0, j = entries - 1; i < j; ++i, --j) {
    if (table[i] != table[j]) return false;
  }
  return true;
}

// One pixel's line for the walk. The minor offset of sample k is
// floor(k x a / b) for a = |numerator| <= b = |denominator|; the walk adds
// f = ceil(a x 2^32 / b) a step and takes the upper 32 bits. With
// k a / b = m + p / b (0 <= p < b) the sum k f / 2^32 exceeds k a / b by
// less than k / 2^32, which stays below 1 / b while k b < 2^32, so it never
// reaches m + 1: its integer part is m. Each step then adds, by the carry
// into the upper half (0 or 1), the raster bytes and table entries of a
// step along the major axis ([0]) or of one that also takes a minor step
// ([1]). Nothing but one 64-bit add passes from step to step, and no branch
// depends on the carries, which follow no pattern a predictor would learn.
struct LineWalk {
  uint64_t increment;  // f
  intptr_t bytes[2];
  intptr_t entries[2];
};

// False when k b < 2^32 does not hold for every k <= L (a centre from a
// hand-made file far beyond the picture): such lines take the plain path.
bool MakeWalk(const LineDirection& line, int32_t length, intptr_t pitch, intptr_t side, LineWalk* walk) {
  const int64_t numerator = line.numerator < 0 ? -line.numerator : line.numerator;
  const int64_t denominator = line.denominator < 0 ? -line.denominator : line.denominator;
  if (denominator == 0 || numerator > denominator || denominator >= (int64_t{1} << 32) / length) return false;
  const uint64_t a = static_cast<uint64_t>(numerator), b = static_cast<uint64_t>(denominator);
  const intptr_t major = line.majorStep;
  const intptr_t minor = (line.numerator < 0) != (line.denominator < 0) ? -1 : 1;
  const intptr_t majorBytes = line.alongColumns ? 3 * major : major * pitch;
  const intptr_t minorBytes = line.alongColumns ? minor * pitch : 3 * minor;
  const intptr_t majorEntries = line.alongColumns ? major : major * side;
  const intptr_t minorEntries = line.alongColumns ? minor * side : minor;
  *walk = {((a << 32) + b - 1) / b,
           {majorBytes, majorBytes + minorBytes},
           {majorEntries, majorEntries + minorEntries}};
  return true;
}

// Where the walk stands after k steps: samples k and -k in the raster, the
// table entry of sample k from the centre entry, k f, and its upper half,
// the minor offset.
struct WalkPosition {
  const uint8_t* ahead;
  const uint8_t* behind;
  intptr_t entry;
  uint64_t fraction;
  uint32_t minor;
};

inline void Step(const LineWalk& walk, WalkPosition& at) {
  at.fraction += walk.increment;
  const uint32_t minor = static_cast<uint32_t>(at.fraction >> 32);
  const uint32_t carry = minor - at.minor;
  at.minor = minor;
  at.ahead += walk.bytes[carry];
  at.behind -= walk.bytes[carry];
  at.entry += walk.entries[carry];
}

// Sums of one pixel's line: the weighted sum of each of its three bytes and
// the sum of the weights.
struct LineSums {
  uint32_t bytes[3];
  uint32_t weights;
};

void AddCentreAndStore(const uint8_t* pixel, uint32_t centreWeight, LineSums& sums, uint8_t* out) {
  sums.weights = 2 * sums.weights + centreWeight;
  for (int32_t c = 0; c < 3; ++c) {
    out[c] = static_cast<uint8_t>((sums.bytes[c] + centreWeight * pixel[c]) / sums.weights);
  }
}

// A sample's three bytes in 16-bit lanes 1 .. 3, read as four bytes from
// the byte before it (lane 0, not used): the raster follows the table in the
// block, so the read never leaves it.
VF_SSE2_TARGET inline __m128i LoadSample(const uint8_t* sample) {
  int32_t bytes;
  std::memcpy(&bytes, sample - 1, 4);
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128());
}

VF_SSE2_TARGET inline __m128i MirroredPair(const WalkPosition& at) {
  return _mm_add_epi16(LoadSample(at.ahead), LoadSample(at.behind));
}

// The mirrored pairs k = 1 .. L of the pixel's line, each sum counted once.
VF_SSE2_TARGET void WalkPairs(const uint8_t* pixel, const LineWalk& walk, const uint16_t* centreEntry,
                              int32_t length, LineSums& sums) {
  __m128i total = _mm_setzero_si128();
  uint32_t weights = 0;
  WalkPosition at = {pixel, pixel, 0, 0, 0};
  int32_t k = 1;
  for (; k < length; k += 2) {
    Step(walk, at);
    const __m128i first = MirroredPair(at);
    const uint32_t firstWeight = centreEntry[at.entry];
    Step(walk, at);
    const uint32_t secondWeight = centreEntry[at.entry];
    weights += firstWeight + secondWeight;
    total = AddWeightedLow(total, first, MirroredPair(at), WeightPair(firstWeight, secondWeight));
  }
  if (k == length) {
    Step(walk, at);
    const uint32_t weight = centreEntry[at.entry];
    weights += weight;
    total = AddWeightedLow(total, MirroredPair(at), _mm_setzero_si128(), WeightPair(weight, 0));
  }
  uint32_t lanes[4];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), total);
  sums = {{lanes[1], lanes[2], lanes[3]}, weights};
}

// A line kept for a run of neighbouring pixels: the raster bytes and
// weights of samples k = 1 .. L from the pixel (weight L + 1 is 0, the
// partner of the last sample of an odd L), the sum of those weights, and the
// ratios |numerator| / |denominator| that give the same samples. Sample k
// lies trunc(k x r) from the major axis for the ratio r, and floor(k x r') =
// floor(k x r) for every k <= L exactly when r' lies in
// [max over k of q_k / k, min over k of (q_k + 1) / k), q_k = floor(k x r).
struct KeptLine {
  intptr_t bytes[kMaxLength + 1];
  uint16_t weights[kMaxLength + 2];
  uint32_t weightSum;
  int32_t lowNumerator, lowDenominator;    // the interval's start, included
  int32_t highNumerator, highDenominator;  // its end, excluded (1 / 0 is beyond every ratio)
  LineDirection direction;

  // The weights of samples k and k + 1 in every 32-bit lane, k in the low half.
  uint32_t WeightPair(int32_t k) const { return weights[k] | uint32_t{weights[k + 1]} << 16; }
};

// Walks the line once and keeps it with the interval of its ratio.
BLUR_NOINLINE void KeepLine(const LineWalk& walk, const LineDirection& direction, const uint16_t* centreEntry,
                            int32_t length, KeptLine& kept) {
  uint64_t fraction = 0;
  int32_t quotient = 0;
  intptr_t bytes = 0, entry = 0;
  uint32_t weightSum = 0;
  int32_t lowNumerator = 0, lowDenominator = 1, highNumerator = 1, highDenominator = 0;
  for (int32_t k = 1; k <= length; ++k) {
    fraction += walk.increment;
    const int32_t minor = static_cast<int32_t>(fraction >> 32);
    const int32_t carry = minor - quotient;
    quotient = minor;
    bytes += walk.bytes[carry];
    entry += walk.entries[carry];
    kept.bytes[k] = bytes;
    kept.weights[k] = centreEntry[entry];
    weightSum += centreEntry[entry];
    const bool higherStart = quotient * lowDenominator > lowNumerator * k;
    lowNumerator = higherStart ? quotient : lowNumerator;
    lowDenominator = higherStart ? k : lowDenominator;
    const bool lowerEnd = (quotient + 1) * highDenominator < highNumerator * k;
    highNumerator = lowerEnd ? quotient + 1 : highNumerator;
    highDenominator = lowerEnd ? k : highDenominator;
  }
  kept.weights[length + 1] = 0;
  kept.weightSum = weightSum;
  kept.lowNumerator = lowNumerator;
  kept.lowDenominator = lowDenominator;
  kept.highNumerator = highNumerator;
  kept.highDenominator = highDenominator;
  kept.direction = direction;
}

// Whether the direction gives the kept line's samples: the same axes, steps
// and sign, and a ratio inside the kept interval.
bool HasKeptSamples(const KeptLine& kept, const LineDirection& line) {
  const LineDirection& own = kept.direction;
  if (line.alongColumns != own.alongColumns || line.majorStep != own.majorStep) return false;
  if (((line.numerator < 0) != (line.denominator < 0)) != ((own.numerator < 0) != (own.denominator < 0)))
    return false;
  const int64_t numerator = line.numerator < 0 ? -line.numerator : line.numerator;
  const int64_t denominator = line.denominator < 0 ? -line.denominator : line.denominator;
  if (numerator > denominator) return false;
  return numerator * kept.lowDenominator >= kept.lowNumerator * denominator &&
         numerator * kept.highDenominator < kept.highNumerator * denominator;
}

// Adds the mirrored pairs of two samples (bytes apart from each of 16
// neighbouring raster bytes) times their weights to the 16 sums.
VF_SSE2_TARGET inline void AddPairsOfBlock(const uint8_t* block, intptr_t firstBytes, intptr_t secondBytes,
                                           __m128i weights, __m128i* sums) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + firstBytes));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block - firstBytes));
  const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + secondBytes));
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block - secondBytes));
  const __m128i firstLow = _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
  const __m128i firstHigh = _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
  const __m128i secondLow = _mm_add_epi16(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(d, zero));
  const __m128i secondHigh = _mm_add_epi16(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(d, zero));
  sums[0] = AddWeightedLow(sums[0], firstLow, secondLow, weights);
  sums[1] = AddWeightedHigh(sums[1], firstLow, secondLow, weights);
  sums[2] = AddWeightedLow(sums[2], firstHigh, secondHigh, weights);
  sums[3] = AddWeightedHigh(sums[3], firstHigh, secondHigh, weights);
}

// Blurs a run of pixels that share the kept line, 16 bytes at a time: the
// samples of neighbouring pixels are neighbouring bytes. A last sample k of
// an odd L pairs with the pixel's own bytes at weight 0. The loads reach up
// to 15 bytes past the run's last sample, which the caller keeps inside the
// raster.
VF_SSE2_TARGET BLUR_NOINLINE void BlurRun(const uint8_t* first, const KeptLine& kept, uint32_t centreWeight,
                                          int32_t length, int32_t pixels, uint8_t* out) {
  const intptr_t runBytes = 3 * static_cast<intptr_t>(pixels);
  const uint32_t weightSum = 2 * kept.weightSum + centreWeight;
  for (intptr_t j = 0; j < runBytes; j += 16) {
    __m128i sums[4] = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
    const uint8_t* block = first + j;
    for (int32_t k = 1; k <= length; k += 2) {
      const intptr_t second = k < length ? kept.bytes[k + 1] : 0;
      AddPairsOfBlock(block, kept.bytes[k], second, _mm_set1_epi32(static_cast<int32_t>(kept.WeightPair(k))),
                      sums);
    }
    uint32_t lanes[16];
    for (int32_t v = 0; v < 4; ++v) _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + 4 * v), sums[v]);
    const intptr_t count = runBytes - j < 16 ? runBytes - j : 16;
    for (intptr_t i = 0; i < count; ++i) {
      out[j + i] = static_cast<uint8_t>((lanes[i] + centreWeight * block[i]) / weightSum);
    }
  }
}

// The mirrored pairs k = 1 .. L of one pixel from the kept line.
VF_SSE2_TARGET BLUR_NOINLINE void KeptPairs(const uint8_t* pixel, const KeptLine& kept, int32_t length,
                                            LineSums& sums) {
  __m128i total = _mm_setzero_si128();
  for (int32_t k = 1; k <= length; k += 2) {
    const intptr_t first = kept.bytes[k];
    const __m128i second = k < length ? _mm_add_epi16(LoadSample(pixel + kept.bytes[k + 1]),
                                                      LoadSample(pixel - kept.bytes[k + 1]))
                                      : _mm_setzero_si128();
    total = AddWeightedLow(total, _mm_add_epi16(LoadSample(pixel + first), LoadSample(pixel - first)), second,
                           _mm_set1_epi32(static_cast<int32_t>(kept.WeightPair(k))));
  }
  uint32_t lanes[4];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), total);
  sums = {{lanes[1], lanes[2], lanes[3]}, kept.weightSum};
}
#endif  // VF_HAS_SSE2

// Every sample with its own weight, from the line's samples in 64 bits.
void PlainPixel(const uint8_t* pixel, const LineDirection& line, const uint16_t* table, int32_t length,
                intptr_t pitch, uint8_t* out) {
  const int32_t samples = 2 * length + 1;
  const intptr_t side = samples;
  SampleOffset offsets[2 * kMaxLength + 1];
  LineSamples(line, length, offsets);
  uint32_t sums[3] = {0, 0, 0};
  uint32_t weights = 0;
  for (int32_t i = 0; i < samples; ++i) {
    const SampleOffset& o = offsets[i];
    const uint32_t weight = table[(length + o.rows) * side + (length + o.columns)];
    const uint8_t* sample = pixel + o.rows * pitch + 3 * static_cast<intptr_t>(o.columns);
    weights += weight;
    for (int32_t c = 0; c < 3; ++c) sums[c] += weight * sample[c];
  }
  for (int32_t c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(sums[c] / weights);
}

// How the last attempts to find runs went, carried from row to row: the
// misses in a row and the pixels to wait before the next attempt.
struct RunAttempts {
  int32_t misses = 0;
  int32_t wait = 0;
};

// Image row y from the raster; pairedWalk when the table is point-symmetric
// and SSE2 is there. Neighbouring pixels often share their line (short
// lines, far centres): a line is then kept and the run of pixels that share
// it is blurred 16 bytes at a time. Where runs do not come, the attempts are
// spaced out further after each miss, so that keeping lines costs little.
void BlurRow(const frame::DibImage& image, const WideRaster& raster, const uint16_t* table,
             const LineBlurSettings& settings, LineDirectionOf lineDirection, bool pairedWalk,
             RunAttempts& attempts, int32_t y) {
  const int32_t length = settings.length;
  const intptr_t side = 2 * length + 1;
  const uint16_t* centreEntry = table + length * side + length;
  uint8_t* row = image.Row(y);
#ifdef VF_HAS_SSE2
  // A run's 16-byte loads reach up to 15 bytes past its last sample, which
  // lies at most L rows above the pixel: below the raster's last row while
  // y < H - 1, and a row of at least 16 bytes follows.
  const bool runs = pairedWalk && y < image.height - 1 && raster.pitch >= 16;
  KeptLine kept;
  int32_t misses = attempts.misses, wait = attempts.wait;
#else
  static_cast<void>(pairedWalk);
  static_cast<void>(attempts);
#endif
  for (int32_t x = 0; x < image.width; ++x) {
    LineDirection line;
    if (!lineDirection(settings, image.height, y, x, &line)) continue;
    const uint8_t* pixel = raster.Pixel(y, x);
    uint8_t* out = row + 3 * static_cast<intptr_t>(x);
#ifdef VF_HAS_SSE2
    LineWalk walk;
    if (pairedWalk && MakeWalk(line, length, raster.pitch, side, &walk)) {
      LineSums sums;
      if (runs && wait == 0) {
        KeepLine(walk, line, centreEntry, length, kept);
        int32_t end = x + 1;
        LineDirection next;
        while (end < image.width && lineDirection(settings, image.height, y, end, &next) &&
               HasKeptSamples(kept, next)) {
          ++end;
        }
        // Runs of a few pixels save less than keeping the line costs, so
        // only longer ones count as a hit.
        const int32_t pixels = end - x;
        if (pixels >= 4) {
          misses = 0;
        } else {
          if (misses < 10) ++misses;
          wait = (1 << misses) - 1;
        }
        if (pixels >= 2) {
          BlurRun(pixel, kept, *centreEntry, length, pixels, out);
          x = end - 1;
          continue;
        }
        KeptPairs(pixel, kept, length, sums);
      } else {
        if (wait > 0) --wait;
        WalkPairs(pixel, walk, centreEntry, length, sums);
      }
      AddCentreAndStore(pixel, *centreEntry, sums, out);
      continue;
    }
#endif
    PlainPixel(pixel, line, table, length, raster.pitch, out);
  }
#ifdef VF_HAS_SSE2
  attempts = {misses, wait};
#endif
}

}  // namespace

int RunLineBlur(HWND host, BITMAPINFOHEADER* header, const char* dir, const LineBlurPlugin& plugin) {
  LineBlurSettings settings = LineBlurSettings::Defaults();
  RunSettingsFile file;
  if (!file.Read(host, dir, plugin.format, &settings)) return 0;
  settings = InRange(settings);

  const frame::DibImage image = frame::ViewDib(header);
  const int32_t length = settings.length;
  const uint64_t tableBytes = static_cast<uint64_t>(ProfileTableBytes(length));
  frame::GlobalBlock block;
  if (!block.Allocate(frame::CheckedSum(tableBytes, WideRasterSize(image, length)))) {
    frame::ShowMemoryMessage(host);
    file.Close();
    frame::SendProgress(host, frame::PROGRESS_END, 0);
    return 0;
  }
  uint16_t* table = reinterpret_cast<uint16_t*>(block.data());
  BuildProfileTable(table, length, kLinearShape);
  file.Close();
  const WideRaster raster = FillWideRaster(image, block.data() + tableBytes, length, false);

#ifdef VF_HAS_SSE2
  const bool pairedWalk = frame::CanUseSse2() && IsPointSymmetric(table, length);
#else
  const bool pairedWalk = false;
#endif
  RunAttempts attempts;
  for (int32_t y = 0; y < image.height; ++y) {
    BlurRow(image, raster, table, settings, plugin.lineDirection, pairedWalk, attempts, y);
    frame::SendProgress(host, frame::PROGRESS_PERCENT2,
                        static_cast<int32_t>(int64_t{100} * y / image.height));
    if (frame::EscapeRequested()) break;
  }
  frame::SendProgress(host, frame::PROGRESS_PERCENT2, 100);
  frame::SendProgress(host, frame::PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace blur
