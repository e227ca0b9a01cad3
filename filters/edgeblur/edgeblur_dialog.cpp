// edgeblur's settings dialog DLGBOX: the threshold on a scroll bar with its
// value text, and the seamless option.
#include "edgeblur_settings.h"
#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace edgeblur {
namespace {

enum ControlId {
  kSeamlessCheck = 1008,
  kThresholdBar = 1009,
  kThresholdText = 1010,
};

// The bar's range starts at 1, but the arrows and page steps reach 0.
constexpr int32_t kBarLowest = 1;
constexpr int32_t kBarHighest = 255;
constexpr int32_t kPageStep = 10;

void ShowThreshold(HWND dialog, uint8_t threshold) {
  frame::SetScrollBarPosition(dialog, kThresholdBar, threshold);
  frame::ShowNumber(dialog, kThresholdText, threshold, false);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      frame::ShowNumber(dialog, kThresholdText, settings.threshold, false);
      frame::InitScrollBar(dialog, kThresholdBar, kBarLowest, kBarHighest, settings.threshold);
      CheckDlgButton(dialog, kSeamlessCheck, settings.seamless != 0 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_HSCROLL:
      // The thumb's position counts by its low byte.
      settings.threshold =
          static_cast<uint8_t>(frame::ScrolledValue(settings.threshold, wParam, 0, 255, kPageStep) & 0xFF);
      ShowThreshold(dialog, settings.threshold);
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
}  // namespace edgeblur

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, edgeblur::CurrentSettings(), "DLGBOX", edgeblur::DialogProcedure);
}

}  // namespace frame
