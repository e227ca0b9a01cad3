// colorreduce's settings dialog DLGBOX.
#include "colorreduce_settings.h"
#include "frame/dialog.h"

namespace colorreduce {
namespace {

enum ControlId {
  kColoursBar = 1009,
  kColoursText = 1010,
  kSurveyRadio = 1011,
  kStoredRadio = 1012,
  kWriteOutRadio = 1013,
};
constexpr int32_t kFewestColours = 2;
constexpr int32_t kMostColours = 250;
constexpr int32_t kPageStep = 10;

int RadioOfMethod(uint8_t method) {
  if (method == kSurveyAndReduce) return kSurveyRadio;
  return method == kReduceToStored ? kStoredRadio : kWriteOutRadio;
}

uint8_t CheckedMethod(HWND dialog) {
  if (IsDlgButtonChecked(dialog, kSurveyRadio) == BST_CHECKED) return kSurveyAndReduce;
  return IsDlgButtonChecked(dialog, kStoredRadio) == BST_CHECKED ? kReduceToStored : kWriteStored;
}

void ShowColours(HWND dialog, uint8_t colours) {
  frame::SetScrollBarPosition(dialog, kColoursBar, colours);
  frame::ShowNumber(dialog, kColoursText, colours, false);
}

// The thumb's position counts in its low 8 bits.
int32_t ScrolledColours(int32_t colours, WPARAM wParam) {
  const WORD code = LOWORD(wParam);
  if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) return LOBYTE(HIWORD(wParam));
  return frame::ScrolledValue(colours, wParam, kFewestColours, kMostColours, kPageStep);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      CheckRadioButton(dialog, kSurveyRadio, kWriteOutRadio, RadioOfMethod(settings.method));
      if (!settings.HasPalette()) {
        EnableWindow(GetDlgItem(dialog, kStoredRadio), FALSE);
        EnableWindow(GetDlgItem(dialog, kWriteOutRadio), FALSE);
      }
      frame::ShowNumber(dialog, kColoursText, settings.colours, false);
      frame::InitScrollBar(dialog, kColoursBar, kFewestColours, kMostColours, settings.colours);
      return TRUE;
    case WM_HSCROLL:
      settings.colours = static_cast<uint8_t>(ScrolledColours(settings.colours, wParam));
      ShowColours(dialog, settings.colours);
      return TRUE;
    case WM_COMMAND:
      if (wParam != IDOK) return FALSE;
      settings.method = CheckedMethod(dialog);
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
}  // namespace colorreduce

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, colorreduce::CurrentSettings(), "DLGBOX", colorreduce::DialogProcedure);
}

}  // namespace frame
