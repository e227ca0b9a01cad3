// The run of the line blurs.
#include "line_blur.h"

#include <cstring>

#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"
#include "profile_table.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define LINE_BLUR_HAS_X86 1
#include <emmintrin.h>
#if defined(__GNUC__) && !defined(__SSE2__)
#define LINE_BLUR_SSE2_TARGET __attribute__((target("sse2")))
#else
#define LINE_BLUR_SSE2_TARGET
#endif
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

void TruncatedMultiples(int64_t numerator, int64_t denominator, int32_t length, int64_t* quotients) {
  const bool negative = (numerator < 0) != (denominator < 0);
  const int64_t step = numerator < 0 ? -numerator : numerator;
  const int64_t divisor = denominator < 0 ? -denominator : denominator;
  int64_t quotient = 0, remainder = 0;
  quotients[0] = 0;
  for (int32_t k = 1; k <= length; ++k) {
    remainder += step;
    while (remainder >= divisor) {
      remainder -= divisor;
      ++quotient;
    }
    quotients[k] = negative ? -quotient : quotient;
  }
}

namespace {

// Whether sample L - k is the mirror of sample L + k with the same weight for
// every k, as on the lines of radialblur and spinblur; the paired sum
// relies on it.
bool IsMirrored(const SampleOffset* offsets, const uint32_t* weights, int32_t length) {
  for (int32_t k = 1; k <= length; ++k) {
    const SampleOffset& ahead = offsets[length + k];
    const SampleOffset& behind = offsets[length - k];
    if (ahead.rows != -behind.rows || ahead.columns != -behind.columns) return false;
    if (weights[length + k] != weights[length - k]) return false;
  }
  return true;
}

#ifdef LINE_BLUR_HAS_X86
// The weighted sums of one pixel's mirrored pairs with SSE2: each sample's
// three bytes are read as four (the fourth, the next pixel's, is summed
// into a lane that is dropped), each pair added in 16 bits, and two pairs
// multiplied and added at once.
LINE_BLUR_SSE2_TARGET inline __m128i PairSum(const uint8_t* pixel, intptr_t ahead) {
  int32_t first, second;
  std::memcpy(&first, pixel + ahead, 4);
  std::memcpy(&second, pixel - ahead, 4);
  const __m128i zero = _mm_setzero_si128();
  return _mm_add_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(first), zero),
                       _mm_unpacklo_epi8(_mm_cvtsi32_si128(second), zero));
}

LINE_BLUR_SSE2_TARGET void PairedSums(const uint8_t* pixel, const intptr_t* ahead,
                                      const uint32_t* pairedWeights, int32_t length, uint32_t* sums) {
  const __m128i zero = _mm_setzero_si128();
  __m128i total = _mm_setzero_si128();
  int32_t k = 1;
  for (; k + 1 <= length; k += 2) {
    const __m128i weights = _mm_set1_epi32(static_cast<int32_t>(pairedWeights[k / 2]));
    total = _mm_add_epi32(
        total,
        _mm_madd_epi16(_mm_unpacklo_epi16(PairSum(pixel, ahead[k]), PairSum(pixel, ahead[k + 1])), weights));
  }
  if (k == length) {
    const __m128i weights = _mm_set1_epi32(static_cast<int32_t>(pairedWeights[k / 2]));
    total = _mm_add_epi32(total, _mm_madd_epi16(_mm_unpacklo_epi16(PairSum(pixel, ahead[k]), zero), weights));
  }
  uint32_t lanes[4];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), total);
  sums[0] += lanes[0];
  sums[1] += lanes[1];
  sums[2] += lanes[2];
}

bool CanUseSse2() {
#if defined(__SSE2__) || defined(_M_X64)
  return true;
#else
  static const bool supported = __builtin_cpu_supports("sse2");
  return supported;
#endif
}
#endif  // LINE_BLUR_HAS_X86

}  // namespace

// The profile table is symmetric about its centre, so a mirrored pair of
// samples shares one weight: each pair is added first and multiplied once.
// The sums stay far inside 32 bits (201 x 8160 x 255), so the order of the
// additions does not matter. Neighbouring pixels mostly share their line,
// so its sample places and weights are worked out only when it changes.
void BlurLineRow(const frame::DibImage& image, const WideRaster& raster, const uint16_t* table,
                 const LineBlurSettings& settings, LineOffsets lineOffsets, int32_t y) {
  const int32_t length = settings.length;
  const int32_t samples = 2 * length + 1;
  const intptr_t side = samples;
  SampleOffset offsets[2 * kMaxLength + 1];
  SampleOffset previous[2 * kMaxLength + 1];
  intptr_t sampleBytes[2 * kMaxLength + 1];
  uint32_t weights[2 * kMaxLength + 1];
  // Ahead offsets of the mirrored pairs (k = 1 .. L) and their weights two
  // by two: weight k in the low half, k + 1 in the high half.
  intptr_t ahead[kMaxLength + 1];
  uint32_t pairedWeights[kMaxLength / 2 + 1];
  bool known = false, mirrored = false;
  uint32_t weightSum = 0;
#ifdef LINE_BLUR_HAS_X86
  // Four-byte reads stay inside the raster below its last row.
  const bool wide = CanUseSse2() && y < image.height - 1;
#endif
  uint8_t* out = image.Row(y);
  for (int32_t x = 0; x < image.width; ++x, out += 3) {
    if (!lineOffsets(settings, image.height, y, x, offsets)) continue;
    if (!known ||
        std::memcmp(offsets, previous, sizeof(SampleOffset) * static_cast<std::size_t>(samples)) != 0) {
      std::memcpy(previous, offsets, sizeof(SampleOffset) * static_cast<std::size_t>(samples));
      known = true;
      weightSum = 0;
      for (int32_t i = 0; i < samples; ++i) {
        const SampleOffset& o = offsets[i];
        sampleBytes[i] = o.rows * raster.pitch + 3 * static_cast<intptr_t>(o.columns);
        weights[i] = table[(length + o.rows) * side + (length + o.columns)];
        weightSum += weights[i];
      }
      mirrored = IsMirrored(offsets, weights, length);
      for (int32_t k = 1; mirrored && k <= length; ++k) ahead[k] = sampleBytes[length + k];
      for (int32_t k = 1; mirrored && k <= length; k += 2) {
        const uint32_t next = k + 1 <= length ? weights[length + k + 1] : 0;
        pairedWeights[k / 2] = weights[length + k] | next << 16;
      }
    }
    const uint8_t* pixel = raster.Pixel(y, x);
    if (mirrored) {
      const uint8_t* centre = pixel + sampleBytes[length];
      uint32_t sums[3] = {weights[length] * centre[0], weights[length] * centre[1],
                          weights[length] * centre[2]};
#ifdef LINE_BLUR_HAS_X86
      if (wide) {
        PairedSums(pixel, ahead, pairedWeights, length, sums);
      } else
#endif
      {
        for (int32_t k = 1; k <= length; ++k) {
          const uint8_t* forward = pixel + ahead[k];
          const uint8_t* backward = pixel - ahead[k];
          const uint32_t weight = weights[length + k];
          for (int32_t c = 0; c < 3; ++c) sums[c] += weight * (uint32_t{forward[c]} + backward[c]);
        }
      }
      for (int32_t c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(sums[c] / weightSum);
      continue;
    }
    for (int32_t component = 0; component < 3; ++component) {
      uint32_t sum = 0;
      for (int32_t i = 0; i < samples; ++i) sum += weights[i] * pixel[sampleBytes[i] + component];
      out[component] = static_cast<uint8_t>(sum / weightSum);
    }
  }
}

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

  for (int32_t y = 0; y < image.height; ++y) {
    BlurLineRow(image, raster, table, settings, plugin.lineOffsets, y);
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
