// scroll: "スクロール", kind 0. Cyclic shift of the picture by the amounts
// set in its dialog. It sends no progress and refuses to run before the
// dialog has written its file.
#include <cstring>

#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "scroll_filter.h"
#include "scroll_settings.h"

namespace scroll {
namespace {

const char kFileErrorText[] = "scroll.dat が読めませんでした ；＿；。";
const char kFileErrorCaption[] = " File ERROR";
const char kAllocationCaption[] = " Memory ERROR 1";
const char kLockCaption[] = " Memory ERROR 2";

}  // namespace
}  // namespace scroll

namespace frame {

const char kPluginTitle[] = "スクロール";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace scroll;
  AssembleSettingsPath(SettingsPath(), dir, kFileStem);
  Amounts amounts;
  if (!ReadAmounts(SettingsPath(), amounts)) {
    ShowMessage(host, kFileErrorText, kFileErrorCaption, MB_ICONERROR);
    return 0;
  }

  const DibImage image = ViewDib(header);
  if (image.width <= 0 || image.height <= 0) return 1;  // no pixel to move
  const uint64_t size =
      CheckedProduct(static_cast<uint64_t>(image.height), static_cast<uint64_t>(image.stride));
  const HGLOBAL handle = size < ~SIZE_T{0} ? GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size)) : nullptr;
  if (handle == nullptr) {
    ShowMessage(host, kMemoryMessage, kAllocationCaption, MB_ICONERROR);
    return 0;
  }
  uint8_t* block = static_cast<uint8_t*>(GlobalLock(handle));
  if (block == nullptr) {
    ShowMessage(host, kMemoryMessage, kLockCaption, MB_ICONERROR);
    GlobalFree(handle);
    return 0;
  }

  BuildShifted(image, block, ReduceAmount(amounts.right, image.width),
               ReduceAmount(amounts.down, image.height));
  std::memcpy(image.pixels, block, static_cast<std::size_t>(size));

  GlobalUnlock(handle);
  GlobalFree(handle);
  return 1;
}

}  // namespace frame
