// fullscroll: "全スクロール", kind 10. Colour, alpha and mask scrolled
// cyclically together.
#include "frame/host_interface.h"
#include "frame/line_access.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "fullscroll_filter.h"

namespace fullscroll {
namespace {
Settings settings_of_library = {};
}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace fullscroll

namespace frame {

const char kPluginTitle[] = "全スクロール";

int PluginProcLineAccess(HWND host, const ImageSize* size, const LineAccessTable* write,
                         const LineAccessTable* read, const char* dir) {
  using namespace fullscroll;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  if (!HasPixels(size)) return FinishLineAccessRun(host);

  HeapBlock block;
  if (!block.Allocate(WorkingBytes(size->width, size->height))) return 0;
  const LineAccess lines(*size, *write, *read);
  ScrollAllLayers(lines, settings, block.data(), host);
  block.Release();
  return FinishLineAccessRun(host);
}

}  // namespace frame
