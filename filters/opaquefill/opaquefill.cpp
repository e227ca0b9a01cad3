// opaquefill: "不透明化", kind 10. Transparency flattened onto a colour or a
// checkerboard.
#include "frame/host_interface.h"
#include "frame/line_access.h"
#include "frame/messages.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "opaquefill_filter.h"

namespace opaquefill {
namespace {

const char kNoticeText[] = "このフィルターは Velmora 1.4e 以降\nもしくは A/VELMORA 0.0u 以降で動作します。";
const char kNoticeCaption[] = "不透明化フィルターの注意";

Settings settings_of_library = {};

// The flag is saved as shown at once, whatever becomes of the run.
void ShowNoticeIfPending(HWND host, const char* dir, Settings& settings) {
  int32_t notice = settings.notice;
  if (!frame::ShowNoticeOnce(host, notice, int32_t{kNoticePending}, int32_t{kNoticeShown}, kNoticeText,
                             kNoticeCaption, MB_ICONINFORMATION))
    return;
  settings.notice = notice;
  frame::SaveSettings(dir, settings);
}

}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace opaquefill

namespace frame {

const char kPluginTitle[] = "不透明化";

int PluginProcLineAccess(HWND host, const ImageSize* size, const LineAccessTable* write,
                         const LineAccessTable* read, const char* dir) {
  using namespace opaquefill;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  ShowNoticeIfPending(host, dir, settings);
  if (!HasPixels(size)) return FinishLineAccessRun(host);

  HeapBlock block;
  if (!block.Allocate(WorkingBytes(size->width))) return 0;
  const LineAccess lines(*size, *write, *read);
  FlattenRows(lines, Backdrop::From(settings), block.data(), host);
  block.Release();
  return FinishLineAccessRun(host);
}

}  // namespace frame
