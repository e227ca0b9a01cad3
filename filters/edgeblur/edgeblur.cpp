// edgeblur: "境界ぼかし", kind 0. Softens luminance boundaries along short
// oriented strokes.
#include "edgeblur_filter.h"
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"

namespace edgeblur {
namespace {
const char kNothingCaption[] = "境界ぼかし";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace edgeblur

namespace frame {

const char kPluginTitle[] = "境界ぼかし";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace edgeblur;
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

  int64_t processed = 0;
  if (image.height > 0) {
    RowCadence cadence(host, image.height);
    processed = ApplyEdgeBlur(image, raster, settings, cadence);
  }
  if (processed == 0) ShowNothingProcessed(host, kNothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
