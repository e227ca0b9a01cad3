// clearback's settings dialog SAMPLEDLG: the range on a scroll bar and the
// corner that gives the background colour.
#include "clearback_settings.h"
#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace clearback {
namespace {

enum ControlId {
  kUpperLeftRadio = 101,
  kUpperRightRadio = 102,
  kRangeBar = 1001,
  kRangeText = 1002,
};

constexpr int32_t kPageStep = 5;

void ShowRange(HWND dialog, int32_t range) {
  frame::ShowNumber(dialog, kRangeText, range, true);
}

// The thumb reports its position as an unsigned 16-bit number.
int32_t ScrolledRange(int32_t range, WPARAM wParam) {
  const WORD code = LOWORD(wParam);
  if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) return HIWORD(wParam);
  return frame::ScrolledValue(range, wParam, kLeastRange, kGreatestRange, kPageStep);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      ShowRange(dialog, settings.range);
      frame::InitScrollBar(dialog, kRangeBar, kLeastRange, kGreatestRange, settings.range);
      CheckRadioButton(dialog, kUpperLeftRadio, kUpperRightRadio,
                       settings.corner != kUpperRight ? kUpperLeftRadio : kUpperRightRadio);
      return TRUE;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, kRangeBar)) return FALSE;
      settings.range = ScrolledRange(settings.range, wParam);
      frame::SetScrollBarPosition(dialog, kRangeBar, settings.range);
      ShowRange(dialog, settings.range);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK) return FALSE;
      settings.corner = frame::CheckState(dialog, kUpperLeftRadio) ? kUpperLeft : kUpperRight;
      EndDialog(dialog, 1);
      return TRUE;
    case WM_SYSCOMMAND:
      if (!frame::IsCloseCommand(wParam)) return FALSE;
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace
}  // namespace clearback

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, clearback::CurrentSettings(), "sampledlg", clearback::DialogProcedure);
}

}  // namespace frame
