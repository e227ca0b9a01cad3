// edgeextract: "境界抽出", kind 0. Draws the boundaries between regions in
// three levels, by luminance or HSV differences.
#include "edgeextract_filter.h"
#include "frame/host_interface.h"
#include "frame/raster_filter.h"
#include "frame/settings.h"

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
  return RunRasterFilterWithScratch(
      host, header, RasterLayoutFor(settings), ScratchBytesFor, kNothingCaption,
      [&](const DibImage& image, const BorderedRaster& raster, uint8_t* scratch, RowCadence& cadence) {
        return ExtractBoundaries(image, raster, settings, scratch, cadence);
      });
}

}  // namespace frame
