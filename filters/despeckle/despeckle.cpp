// despeckle: "孤立点除去", kind 0. Cleans dark drawings on a light ground:
// light background becomes white, specks that fit in a 3 x 3 block vanish.
#include "despeckle_filter.h"
#include "frame/host_interface.h"
#include "frame/raster_filter.h"
#include "frame/settings.h"

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
// plane the decisions read, and reach the image in one copy at the end. The
// kernel's working rows come in the same block.
int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace despeckle;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  return RunRasterFilterWithScratch(
      host, header, WorkingRasterLayout(), ScratchBytesFor, kNothingCaption,
      [&](const DibImage& image, const BorderedRaster& raster, uint8_t* scratch, RowCadence& cadence) {
        const int64_t processed = Despeckle(image, raster, settings, scratch, cadence);
        CopyRasterIntoImage(raster, image);
        return processed;
      });
}

}  // namespace frame
