// clearback: "背景透明化", kind 10. The white near the background colour
// becomes transparency.
#include "clearback_filter.h"
#include "frame/host_interface.h"
#include "frame/line_access.h"
#include "frame/messages.h"
#include "frame/settings.h"
#include "frame/working_block.h"

namespace clearback {
namespace {

const char kNoticeText[] =
    "　このフィルターは Velmora 1.4e 以降、もしくは\n A/VELMORA 0.0u 以降で動作します。\n\n"
    "　白を透明に置き換えるのでモノトーンの線画以外は\n意図通りの結果にならないかもしれません(^^;。";
const char kNoticeCaption[] = "背景透明化フィルター ( ver 0.01 ) の注意";

Settings settings_of_library = {};

// The notice comes once: the flag is saved as shown at once, so that it does
// not come again even when the run cannot go on.
void ShowNoticeIfPending(HWND host, const char* dir, Settings& settings) {
  int32_t corner = settings.corner;
  if (!frame::ShowNoticeOnce(host, corner, int32_t{kNoticePending}, int32_t{kUpperLeft}, kNoticeText,
                             kNoticeCaption, MB_ICONINFORMATION))
    return;
  settings.corner = corner;
  frame::SaveSettings(dir, settings);
}

}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace clearback

namespace frame {

const char kPluginTitle[] = "背景透明化";

int PluginProcLineAccess(HWND host, const ImageSize* size, const LineAccessTable* write,
                         const LineAccessTable* read, const char* dir) {
  using namespace clearback;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  ShowNoticeIfPending(host, dir, settings);
  if (!HasPixels(size)) return FinishLineAccessRun(host);

  const int32_t reach = ReachFor(settings);
  HeapBlock block;
  if (!block.Allocate(Workspace::BytesFor(size->width, size->height, reach))) return 0;
  Workspace work(block.data(), size->width, size->height, reach);
  const LineAccess lines(*size, *write, *read);
  ClearBackground(lines, work, settings.corner, host);
  block.Release();
  return FinishLineAccessRun(host);
}

}  // namespace frame
