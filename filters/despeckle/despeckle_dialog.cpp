// despeckle's settings dialog DLGBOX.
#include "despeckle_settings.h"
#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace despeckle {
namespace {

enum ControlId {
  kContrastCheck = 1008,
  kBackgroundBar = 1009,
  kBackgroundText = 1010,
};

constexpr int32_t kPageStep = 10;

// The bar's new value; a thumb position outside the bar's range (which the
// bar itself never reports) is held to it so that it fits the record.
int32_t ScrolledBackground(int32_t value, WPARAM wParam) {
  const int32_t scrolled =
      frame::ScrolledValue(value, wParam, kLowestBackground, kHighestBackground, kPageStep);
  const WORD code = LOWORD(wParam);
  if (code != SB_THUMBPOSITION && code != SB_THUMBTRACK) return scrolled;
  return frame::ClampNumber(scrolled, kLowestBackground, kHighestBackground);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      frame::ShowNumber(dialog, kBackgroundText, settings.background, false);
      frame::InitScrollBar(dialog, kBackgroundBar, kLowestBackground, kHighestBackground,
                           settings.background);
      CheckDlgButton(dialog, kContrastCheck, settings.contrast != 0 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_HSCROLL: {
      settings.background = static_cast<uint8_t>(ScrolledBackground(settings.background, wParam));
      frame::SetScrollBarPosition(dialog, kBackgroundBar, settings.background);
      frame::ShowNumber(dialog, kBackgroundText, settings.background, false);
      return TRUE;
    }
    case WM_COMMAND:
      if (wParam != IDOK) return FALSE;
      settings.contrast = frame::CheckState(dialog, kContrastCheck);
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
}  // namespace despeckle

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, despeckle::CurrentSettings(), "DLGBOX", despeckle::DialogProcedure);
}

}  // namespace frame
