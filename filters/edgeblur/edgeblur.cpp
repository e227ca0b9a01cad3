// edgeblur: "境界ぼかし", kind 0. Softens luminance boundaries along short
// oriented strokes.
#include "edgeblur_filter.h"
#include "frame/host_interface.h"
#include "frame/raster_filter.h"
#include "frame/settings.h"

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
  return RunRasterFilter(host, header, RasterLayoutFor(settings), kNothingCaption,
                         [&](const DibImage& image, const BorderedRaster& raster, RowCadence& cadence) {
                           return ApplyEdgeBlur(image, raster, settings, cadence);
                         });
}

}  // namespace frame
