// despeckle: "孤立点除去", kind 0. Cleans dark drawings on a light ground:
// light background becomes white, specks that fit in a 3 x 3 block vanish.
#include "despeckle_filter.h"
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"

namespace despeckle {
namespace {
const char kNothingCaption[] = "孤立点除去";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace despeckle

namespace frame {

const char kPluginTitle[] = "孤立点除去";

// The results are written into the raster's colour, never into the luminance
// plane the decisions read, and reach the image in one copy at the end.
int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace despeckle;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);

  const DibImage image = ViewDib(header);
  const RasterLayout layout = WorkingRasterLayout();
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
    processed = Despeckle(image, raster, settings, cadence);
    CopyRasterIntoImage(raster, image);
  }
  if (processed == 0) ShowNothingProcessed(host, kNothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
