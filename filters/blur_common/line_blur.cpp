// The run of the line blurs.
#include "line_blur.h"

#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"
#include "profile_table.h"

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

}  // namespace

// The profile table is symmetric about its centre, so a mirrored pair of
// samples shares one weight: each pair is added first and multiplied once.
// The sums stay far inside 32 bits (201 x 8160 x 255), so the order of the
// additions does not matter.
void BlurLineRow(const frame::DibImage& image, const WideRaster& raster, const uint16_t* table,
                 const LineBlurSettings& settings, LineOffsets lineOffsets, int32_t y) {
  const int32_t length = settings.length;
  const int32_t samples = 2 * length + 1;
  const intptr_t side = samples;
  SampleOffset offsets[2 * kMaxLength + 1];
  intptr_t sampleBytes[2 * kMaxLength + 1];
  uint32_t weights[2 * kMaxLength + 1];
  uint8_t* out = image.Row(y);
  for (int32_t x = 0; x < image.width; ++x, out += 3) {
    if (!lineOffsets(settings, image.height, y, x, offsets)) continue;
    uint32_t weightSum = 0;
    for (int32_t i = 0; i < samples; ++i) {
      const SampleOffset& o = offsets[i];
      sampleBytes[i] = o.rows * raster.pitch + 3 * static_cast<intptr_t>(o.columns);
      weights[i] = table[(length + o.rows) * side + (length + o.columns)];
      weightSum += weights[i];
    }
    const uint8_t* pixel = raster.Pixel(y, x);
    if (IsMirrored(offsets, weights, length)) {
      const uint8_t* centre = pixel + sampleBytes[length];
      uint32_t blue = weights[length] * centre[0], green = weights[length] * centre[1],
               red = weights[length] * centre[2];
      for (int32_t k = 1; k <= length; ++k) {
        const uint8_t* ahead = pixel + sampleBytes[length + k];
        const uint8_t* behind = pixel + sampleBytes[length - k];
        const uint32_t weight = weights[length + k];
        blue += weight * (uint32_t{ahead[0]} + behind[0]);
        green += weight * (uint32_t{ahead[1]} + behind[1]);
        red += weight * (uint32_t{ahead[2]} + behind[2]);
      }
      out[0] = static_cast<uint8_t>(blue / weightSum);
      out[1] = static_cast<uint8_t>(green / weightSum);
      out[2] = static_cast<uint8_t>(red / weightSum);
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
