// ditherbw's two passes. The survey takes the smallest and largest byte of
// each channel sixteen bytes at a time; the dither looks each value's steps
// up in a table made once per channel instead of dividing per byte.
#include "ditherbw_filter.h"

#include "frame/simd.h"

namespace ditherbw {
namespace {

// Folds one row's bytes into the levels.
void SurveyRowPlain(const uint8_t* pixel, int32_t width, ImageLevels& levels) {
  for (int32_t x = 0; x < width; ++x, pixel += 3) {
    for (int channel = 0; channel < 3; ++channel) {
      if (pixel[channel] < levels.darkest[channel]) levels.darkest[channel] = pixel[channel];
      if (pixel[channel] > levels.lightest[channel]) levels.lightest[channel] = pixel[channel];
    }
  }
}

#if defined(VF_HAS_SSE2)
// Forty-eight bytes are sixteen whole pixels; their k-th sixteen bytes start
// with channel k, so lane l of the k-th running vector only ever holds
// channel (16k + l) mod 3.
VF_SSE2_TARGET void SurveyRowSse2(const uint8_t* pixel, int32_t width, ImageLevels& levels) {
  constexpr int32_t kPixelsPerBlock = 16;
  const int32_t blocks = width / kPixelsPerBlock;
  if (blocks > 0) {
    __m128i darkest[3], lightest[3];
    for (int k = 0; k < 3; ++k) {
      darkest[k] = _mm_set1_epi8(static_cast<char>(0xFF));
      lightest[k] = _mm_setzero_si128();
    }
    for (int32_t block = 0; block < blocks; ++block, pixel += 3 * kPixelsPerBlock) {
      for (int k = 0; k < 3; ++k) {
        const __m128i bytes = frame::LoadBytes(pixel + 16 * k);
        darkest[k] = _mm_min_epu8(darkest[k], bytes);
        lightest[k] = _mm_max_epu8(lightest[k], bytes);
      }
    }
    alignas(16) uint8_t lanesDark[3][16], lanesLight[3][16];
    for (int k = 0; k < 3; ++k) {
      _mm_store_si128(reinterpret_cast<__m128i*>(lanesDark[k]), darkest[k]);
      _mm_store_si128(reinterpret_cast<__m128i*>(lanesLight[k]), lightest[k]);
    }
    for (int k = 0; k < 3; ++k) {
      for (int lane = 0; lane < 16; ++lane) {
        const int channel = (16 * k + lane) % 3;
        if (lanesDark[k][lane] < levels.darkest[channel]) levels.darkest[channel] = lanesDark[k][lane];
        if (lanesLight[k][lane] > levels.lightest[channel]) levels.lightest[channel] = lanesLight[k][lane];
      }
    }
  }
  SurveyRowPlain(pixel, width - blocks * kPixelsPerBlock, levels);
}
#endif

void SurveyRow(const uint8_t* pixel, int32_t width, ImageLevels& levels) {
#if defined(VF_HAS_SSE2)
  if (frame::CanUseSse2()) {
    SurveyRowSse2(pixel, width, levels);
    return;
  }
#endif
  SurveyRowPlain(pixel, width, levels);
}

}  // namespace

ImageLevels SurveyLevels(const frame::DibImage& image, TenthCadence& cadence) {
  ImageLevels levels = {{255, 255, 255}, {0, 0, 0}};
  for (int32_t y = 0; y < image.height; ++y) {
    SurveyRow(image.Row(y), image.width, levels);
    cadence.AfterRow(y);
  }
  return levels;
}

void Dither(const frame::DibImage& image, const ImageLevels& levels, const Settings& settings,
            TenthCadence& cadence) {
  const ChannelLevels channels[3] = {ChannelLevels(levels.darkest[0], levels.lightest[0]),
                                     ChannelLevels(levels.darkest[1], levels.lightest[1]),
                                     ChannelLevels(levels.darkest[2], levels.lightest[2])};
  // The image holds only values from darkest to lightest, whose steps lie in
  // 0 .. 255 as a pattern cell does, so the comparison is the same in bytes;
  // the entries outside that range are never looked up.
  uint8_t steps[3][256];
  for (int channel = 0; channel < 3; ++channel) {
    for (int value = 0; value < 256; ++value) {
      const int32_t valueSteps = channels[channel].Steps(static_cast<uint8_t>(value));
      steps[channel][value] = static_cast<uint8_t>(valueSteps < 0 ? 0 : valueSteps > 255 ? 255 : valueSteps);
    }
  }
  const int32_t cellShift = settings.twice != 0 ? 1 : 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* patternRow = settings.inUse.cells + kPatternSide * ((y >> cellShift) % kPatternSide);
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const uint8_t threshold = patternRow[(x >> cellShift) % kPatternSide];
      for (int channel = 0; channel < 3; ++channel) {
        pixel[channel] =
            steps[channel][pixel[channel]] > threshold ? levels.lightest[channel] : levels.darkest[channel];
      }
    }
    cadence.AfterRow(y);
  }
}

}  // namespace ditherbw
