// regionavg: "境界内平均化Ｂ", kind 0. Smooths each region of similar colour
// without blurring across the boundaries between regions.
#include "frame/host_interface.h"
#include "frame/raster_filter.h"
#include "frame/settings.h"
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
  return RunRasterFilterWithScratch(
      host, header, RasterLayoutFor(settings), ScratchBytesFor, kNothingCaption,
      [&](const DibImage& image, const BorderedRaster& raster, uint8_t* scratch, RowCadence& cadence) {
        return AverageWithinBoundaries(image, raster, settings, scratch, cadence);
      });
}

}  // namespace frame
