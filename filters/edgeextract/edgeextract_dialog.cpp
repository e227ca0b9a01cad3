// edgeextract's settings dialog DLGBOX: the measure, one threshold kept for
// each measure, and the seamless option.
#include "edgeextract_settings.h"
#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace edgeextract {
namespace {

enum ControlId {
  kSeamlessCheck = 1008,
  kThresholdBar = 1009,
  kThresholdText = 1010,
  kFirstMeasureRadio = 1011,  // 1011 + measure, up to 1015
  kLastMeasureRadio = kFirstMeasureRadio + kMeasureCount - 1,
};

constexpr int32_t kLowestThreshold = 1;
constexpr int32_t kHighestThreshold = 255;
constexpr int32_t kThresholdPage = 10;

void ShowThreshold(HWND dialog, uint8_t threshold) {
  frame::SetScrollBarPosition(dialog, kThresholdBar, threshold);
  frame::ShowNumber(dialog, kThresholdText, threshold, false);
}

void Initialise(HWND dialog, Settings& settings) {
  if (settings.measure >= kMeasureCount) settings.measure = kDensity;
  CheckRadioButton(dialog, kFirstMeasureRadio, kLastMeasureRadio, kFirstMeasureRadio + settings.measure);
  settings.threshold = settings.slots[settings.measure];
  // A threshold of 0 means the slots were never set: start them afresh.
  if (settings.threshold == 0) {
    for (int k = 0; k < kMeasureCount; ++k) settings.slots[k] = static_cast<uint8_t>(20 + k);
    settings.threshold = static_cast<uint8_t>(10 + settings.measure);
  }
  frame::ShowNumber(dialog, kThresholdText, settings.threshold, false);
  frame::InitScrollBar(dialog, kThresholdBar, kLowestThreshold, kHighestThreshold, settings.threshold);
  CheckDlgButton(dialog, kSeamlessCheck, settings.seamless != 0 ? BST_CHECKED : BST_UNCHECKED);
}

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

// The measure the radio buttons show, looked at in the order V, HSV, H, S.
uint8_t CheckedMeasure(HWND dialog) {
  const Measure order[] = {kValue, kHsvCombined, kHue, kSaturation};
  for (Measure measure : order) {
    if (IsDlgButtonChecked(dialog, kFirstMeasureRadio + measure) == BST_CHECKED) return measure;
  }
  return kDensity;
}

// Keeps the threshold of the measure being left and takes up the new one's.
void SwitchMeasure(HWND dialog, Settings& settings, uint8_t measure) {
  settings.slots[settings.measure < kMeasureCount ? settings.measure : kDensity] = settings.threshold;
  settings.threshold = settings.slots[measure];
  ShowThreshold(dialog, settings.threshold);
  settings.measure = measure;
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog, settings);
      return TRUE;
    case WM_HSCROLL:
      settings.threshold = ScrolledThreshold(settings.threshold, wParam);
      ShowThreshold(dialog, settings.threshold);
      return TRUE;
    case WM_COMMAND:
      if (wParam >= kFirstMeasureRadio && wParam <= kLastMeasureRadio) {
        SwitchMeasure(dialog, settings, static_cast<uint8_t>(wParam - kFirstMeasureRadio));
        return TRUE;
      }
      if (wParam == IDOK) {
        settings.measure = CheckedMeasure(dialog);
        settings.slots[settings.measure] = settings.threshold;
        settings.seamless = frame::CheckState(dialog, kSeamlessCheck);
        EndDialog(dialog, 1);
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
}  // namespace edgeextract

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, edgeextract::CurrentSettings(), "DLGBOX", edgeextract::DialogProcedure);
}

}  // namespace frame
