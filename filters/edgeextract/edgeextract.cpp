// edgeextract: "境界抽出", kind 0. Draws the boundaries between regions in
// three levels, by luminance or HSV differences.
#include "edgeextract_filter.h"
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"

namespace edgeextract {
namespace {
const char kNothingCaption[] = "境界抽出";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace edgeextract

namespace frame {

const char kPluginTitle[] = "境界抽出";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace edgeextract;
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

  int64_t classified = 0;
  if (image.height > 0) {
    RowCadence cadence(host, image.height);
    classified = ExtractBoundaries(image, raster, settings, cadence);
  }
  if (classified == 0) ShowNothingProcessed(host, kNothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
