// regionavg: "境界内平均化Ｂ", kind 0. Smooths each region of similar colour
// without blurring across the boundaries between regions.
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "regionavg_filter.h"

namespace regionavg {
namespace {
// The message caption lacks the 内 of the title.
const char kNothingCaption[] = "境界平均化Ｂ";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace regionavg

namespace frame {

const char kPluginTitle[] = "境界内平均化Ｂ";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace regionavg;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);

  const DibImage image = ViewDib(header);
  GlobalBlock block;
  if (!block.Allocate(BorderedRasterSize(image, RasterLayoutFor(settings)))) {
    ShowMemoryMessage(host);
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }
  const BorderedRaster raster = FillBorderedRaster(image, block.data(), RasterLayoutFor(settings));

  int64_t averaged = 0;
  if (image.height > 0) {
    RowCadence cadence(host, image.height);
    averaged = AverageWithinBoundaries(image, raster, settings, cadence);
  }
  if (averaged == 0) ShowNothingProcessed(host, kNothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
