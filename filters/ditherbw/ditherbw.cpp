// ditherbw: "２値化ディザ", kind 0. Ordered dither of every channel to two
// levels, in place; it needs no working memory and cannot fail.
#include "ditherbw_filter.h"
#include "frame/host_interface.h"
#include "frame/progress.h"
#include "frame/settings.h"

namespace ditherbw {
namespace {
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace ditherbw

namespace frame {

const char kPluginTitle[] = "２値化ディザ";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace ditherbw;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);

  const DibImage image = ViewDib(header);
  TenthCadence cadence(host, image.height);
  const ImageLevels levels = SurveyLevels(image, cadence);
  Dither(image, levels, settings, cadence);

  SendProgress(host, PROGRESS_END, 0);
  return 1;
}

}  // namespace frame
