// diffuseblur: "拡散ぼかし", kind 0. A grainy blur: every pixel averaged with
// one random nearby pixel.
#include "diffuseblur_filter.h"
#include "frame/host_interface.h"
#include "frame/random.h"
#include "frame/raster_filter.h"
#include "frame/settings.h"

namespace diffuseblur {
namespace {
const char kNothingCaption[] = "拡散ぼかし";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace diffuseblur

namespace frame {

const char kPluginTitle[] = "拡散ぼかし";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace diffuseblur;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  return RunRasterFilter(host, header, RasterLayoutFor(settings), kNothingCaption,
                         [](const DibImage& image, const BorderedRaster& raster, RowCadence& cadence) {
                           RandomGenerator generator = ClockSeededGenerator();
                           return ApplyDiffusion(image, raster, generator, cadence);
                         });
}

}  // namespace frame
