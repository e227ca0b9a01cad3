// diffuseblur: "拡散ぼかし", kind 0. A grainy blur: every pixel averaged with
// one random nearby pixel.
#include "diffuseblur_filter.h"
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/random.h"
#include "frame/settings.h"
#include "frame/working_block.h"

namespace diffuseblur {
namespace {
const char kNothingCaption[] = "拡散ぼかし";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace diffuseblur

namespace frame {

const char kPluginTitle[] = "拡散ぼかし";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace diffuseblur;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);

  const DibImage image = ViewDib(header);
  const RasterLayout layout = RasterLayoutFor(settings);
  GlobalBlock block;
  if (!block.Allocate(BorderedRasterSize(image, layout))) {
    ShowMemoryMessage(host);
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }
  const BorderedRaster raster = FillBorderedRaster(image, block.data(), layout);
  RandomGenerator generator = ClockSeededGenerator();

  int64_t processed = 0;
  if (image.height > 0) {
    RowCadence cadence(host, image.height);
    processed = ApplyDiffusion(image, raster, generator, cadence);
  }
  if (processed == 0) ShowNothingProcessed(host, kNothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
