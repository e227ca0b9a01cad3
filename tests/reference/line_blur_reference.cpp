// The plain run of the line blurs: every sample multiplied by its own weight.
// The reference for the paired sums in filters/blur_common/line_blur.cpp.
#include <vector>

#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"
#include "line_blur.h"
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

namespace {

void BlurLineRow(const frame::DibImage& image, const WideRaster& raster, const uint16_t* table,
                 const LineBlurSettings& settings, LineOffsets lineOffsets, int32_t y) {
  const int32_t length = settings.length;
  const int32_t samples = 2 * length + 1;
  const intptr_t side = samples;
  std::vector<SampleOffset> offsets(static_cast<std::size_t>(samples));
  std::vector<intptr_t> sampleBytes(static_cast<std::size_t>(samples));
  std::vector<uint32_t> weights(static_cast<std::size_t>(samples));
  uint8_t* out = image.Row(y);
  for (int32_t x = 0; x < image.width; ++x, out += 3) {
    if (!lineOffsets(settings, image.height, y, x, offsets.data())) continue;
    uint32_t weightSum = 0;
    for (int32_t i = 0; i < samples; ++i) {
      const SampleOffset& o = offsets[static_cast<std::size_t>(i)];
      sampleBytes[static_cast<std::size_t>(i)] = o.rows * raster.pitch + 3 * static_cast<intptr_t>(o.columns);
      const uint32_t weight = table[(length + o.rows) * side + (length + o.columns)];
      weights[static_cast<std::size_t>(i)] = weight;
      weightSum += weight;
    }
    const uint8_t* pixel = raster.Pixel(y, x);
    for (int32_t component = 0; component < 3; ++component) {
      uint32_t sum = 0;
      for (int32_t i = 0; i < samples; ++i) {
        sum += weights[static_cast<std::size_t>(i)] *
               pixel[sampleBytes[static_cast<std::size_t>(i)] + component];
      }
      out[component] = static_cast<uint8_t>(sum / weightSum);
    }
  }
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
