// regionavg's settings dialog DLGBOX: the threshold on a scroll bar and the
// seamless option.
#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "regionavg_settings.h"

namespace regionavg {
namespace {

enum ControlId {
  kSeamlessCheck = 1008,
  kThresholdBar = 1009,
  kThresholdText = 1010,
};

// The bar's own range starts at 1, but its arrows and page steps reach 0,
// the threshold that averages nothing.
constexpr int32_t kBarLowest = 1;
constexpr int32_t kLowestThreshold = 0;
constexpr int32_t kHighestThreshold = 255;
constexpr int32_t kThresholdPage = 10;

uint8_t ScrolledThreshold(uint8_t threshold, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return static_cast<uint8_t>(HIWORD(wParam) & 0xFF);
    default:
      return static_cast<uint8_t>(
          frame::ScrolledValue(threshold, wParam, kLowestThreshold, kHighestThreshold, kThresholdPage));
  }
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      frame::ShowNumber(dialog, kThresholdText, settings.threshold, false);
      frame::InitScrollBar(dialog, kThresholdBar, kBarLowest, kHighestThreshold, settings.threshold);
      CheckDlgButton(dialog, kSeamlessCheck, settings.seamless != 0 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_HSCROLL:
      settings.threshold = ScrolledThreshold(settings.threshold, wParam);
      frame::SetScrollBarPosition(dialog, kThresholdBar, settings.threshold);
      frame::ShowNumber(dialog, kThresholdText, settings.threshold, false);
      return TRUE;
    case WM_COMMAND:
      if (wParam != IDOK) return FALSE;
      settings.seamless = frame::CheckState(dialog, kSeamlessCheck);
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
}  // namespace regionavg

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, regionavg::CurrentSettings(), "DLGBOX", regionavg::DialogProcedure);
}

}  // namespace frame
