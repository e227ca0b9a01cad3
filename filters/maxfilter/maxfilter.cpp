// maxfilter: "最大値", kind 0. Bright areas grow by one pixel into darker ones.
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "maxfilter_filter.h"

namespace maxfilter {
namespace {
const char kNothingCaption[] = " 最大値";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() { return settings_of_library; }

}  // namespace maxfilter

namespace frame {

const char kPluginTitle[] = "最大値";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace maxfilter;
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
    processed = ApplyMaximum(image, raster, settings, cadence);
  }
  if (processed == 0) ShowNothingProcessed(host, kNothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
