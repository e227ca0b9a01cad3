// minfilter: "最小値", kind 0. Dark areas grow by one pixel into brighter ones,
// pass after pass when repeated.
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "minfilter_filter.h"

namespace minfilter {
namespace {
const char kNothingCaption[] = " 最小値";
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace minfilter

namespace frame {

const char kPluginTitle[] = "最小値";

// A run is a sequence of passes over one working block, each refilled from
// the picture as the previous pass left it and closed by PROGRESS_END. The
// passes end after the last one, after one that changed nothing, or when ESC
// is seen between passes (so a pass is never left half done).
int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace minfilter;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);

  const DibImage image = ViewDib(header);
  const RasterLayout layout = RasterLayoutFor(settings);
  GlobalBlock block;
  if (!block.Allocate(BorderedRasterSize(image, layout))) {
    ShowMemoryMessage(host);
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }

  const bool repeat = settings.repeat != 0;
  const int32_t passes = repeat ? kMaxPasses : 1;
  for (int32_t pass = 0; pass < passes; ++pass) {
    const BorderedRaster raster = FillBorderedRaster(image, block.data(), layout);
    RowCadence cadence(host, image.height);
    const int64_t processed = ApplyMinimumPass(image, raster, settings, cadence);
    SendProgress(host, PROGRESS_END, 0);
    const bool unchanged = processed == 0;
    if (unchanged && !repeat) ShowNothingProcessed(host, kNothingCaption);
    const bool escape = EscapeRequested();  // looked at after every pass
    if (unchanged || escape) break;
  }
  block.Release();
  return 1;
}

}  // namespace frame
