// rangestretch's settings dialog DLGBOX. Its radio buttons are plain ones:
// the procedure checks them itself.
#include "frame/dialog.h"
#include "rangestretch_settings.h"

namespace rangestretch {
namespace {

enum ControlId {
  kSurveyRadio = 1011,
  kStoredRadio = 1012,
  kWriteOutRadio = 1013,
  kWidthBar = 1014,
  kWidthText = 1015,
  kRgbRadio = 1016,
  kSvRadio = 1017,
  kShowResultCheck = 1018,
};
constexpr int32_t kNarrowest = 1;
constexpr int32_t kWidest = 500;
constexpr int32_t kPageStep = 10;
// The OK button makes every run survey and use all slots the ranking offers.
constexpr uint8_t kColoursOfDialog = 250;

int RadioOfMethod(uint8_t method) {
  if (method == kSurveyAndStretch) return kSurveyRadio;
  return method == kStretchByStored ? kStoredRadio : kWriteOutRadio;
}

uint8_t CheckedMethod(HWND dialog) {
  if (IsDlgButtonChecked(dialog, kSurveyRadio) == BST_CHECKED) return kSurveyAndStretch;
  return IsDlgButtonChecked(dialog, kStoredRadio) == BST_CHECKED ? kStretchByStored : kWriteStored;
}

// The thumb's position is the message's 16-bit position.
int32_t ScrolledWidth(int32_t width, WPARAM wParam) {
  const WORD code = LOWORD(wParam);
  if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) return HIWORD(wParam);
  return frame::ScrolledValue(width, wParam, kNarrowest, kWidest, kPageStep);
}

void OnInit(HWND dialog, const Settings& settings) {
  CheckRadioButton(dialog, kSurveyRadio, kWriteOutRadio, RadioOfMethod(settings.method));
  CheckRadioButton(dialog, kRgbRadio, kSvRadio, settings.channelSet != 0 ? kRgbRadio : kSvRadio);
  if (!settings.HasPalette()) {
    EnableWindow(GetDlgItem(dialog, kStoredRadio), FALSE);
    EnableWindow(GetDlgItem(dialog, kWriteOutRadio), FALSE);
  }
  CheckDlgButton(dialog, kShowResultCheck, settings.showResult != 0 ? BST_CHECKED : BST_UNCHECKED);
  frame::ShowNumber(dialog, kWidthText, settings.targetWidth, false);
  frame::InitScrollBar(dialog, kWidthBar, kNarrowest, kWidest, settings.targetWidth);
}

void OnOk(HWND dialog, Settings& settings) {
  settings.showResult = frame::CheckState(dialog, kShowResultCheck);
  settings.method = CheckedMethod(dialog);
  settings.channelSet =
      IsDlgButtonChecked(dialog, kRgbRadio) == BST_CHECKED ? kRedGreenBlue : kSaturationValue;
  settings.colours = kColoursOfDialog;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, settings);
      return TRUE;
    case WM_HSCROLL:
      settings.targetWidth = static_cast<uint16_t>(ScrolledWidth(settings.targetWidth, wParam));
      frame::SetScrollBarPosition(dialog, kWidthBar, settings.targetWidth);
      frame::ShowNumber(dialog, kWidthText, settings.targetWidth, false);
      return TRUE;
    case WM_COMMAND:
      switch (wParam) {
        case kSurveyRadio:
        case kStoredRadio:
        case kWriteOutRadio:
          CheckRadioButton(dialog, kSurveyRadio, kWriteOutRadio, static_cast<int>(wParam));
          return TRUE;
        case kRgbRadio:
        case kSvRadio:
          CheckRadioButton(dialog, kRgbRadio, kSvRadio, static_cast<int>(wParam));
          return TRUE;
        case IDOK:
          OnOk(dialog, settings);
          return TRUE;
      }
      return FALSE;
    case WM_SYSCOMMAND:
      if (!frame::IsCloseCommand(wParam)) return FALSE;
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace
}  // namespace rangestretch

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, rangestretch::CurrentSettings(), "DLGBOX",
                           rangestretch::DialogProcedure);
}

}  // namespace frame
