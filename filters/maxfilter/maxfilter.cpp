// maxfilter: "最大値", kind 0. Bright areas grow by one pixel into darker ones.
#include "frame/host_interface.h"
#include "frame/raster_filter.h"
#include "frame/settings.h"
#include "maxfilter_filter.h"

namespace maxfilter {
namespace {
const char kNothingCaption[] = " 最大値";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace maxfilter

namespace frame {

const char kPluginTitle[] = "最大値";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace maxfilter;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  return RunRasterFilter(host, header, RasterLayoutFor(settings), kNothingCaption,
                         [&](const DibImage& image, const BorderedRaster& raster, RowCadence& cadence) {
                           return ApplyMaximum(image, raster, settings, cadence);
                         });
}

}  // namespace frame
