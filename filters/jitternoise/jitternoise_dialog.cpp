// jitternoise's settings dialog DLGBOX: four scroll bars, each with a text
// showing its value; every change goes into the record at once.
#include <cstddef>

#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "jitternoise_settings.h"

namespace jitternoise {
namespace {

// One scroll bar, the text beside it and the value it sets.
struct ScrolledNumber {
  int barId;
  int textId;
  int32_t lowest;
  int32_t highest;
  int32_t pageStep;
};

enum NumberIndex { kSeedPoints, kClusters, kPixels, kStrength, kNumberCount };

constexpr ScrolledNumber kNumbers[kNumberCount] = {
    {1034, 1030, kSeedPointsLowest, kSeedPointsHighest, 50},
    {1035, 1031, kClustersLowest, kClustersHighest, 50},
    {1036, 1032, kPixelsLowest, kPixelsHighest, 10},
    {1038, 1037, kStrengthLowest, kStrengthHighest, 5},
};

int32_t ValueOf(const Settings& settings, int index) {
  switch (index) {
    case kSeedPoints:
      return settings.seedPoints;
    case kClusters:
      return settings.clustersPerSeed;
    case kPixels:
      return settings.pixelsPerCluster;
    default:
      return settings.strength;
  }
}

void Store(Settings& settings, int index, int32_t value) {
  switch (index) {
    case kSeedPoints:
      settings.seedPoints = value;
      break;
    case kClusters:
      settings.clustersPerSeed = value;
      break;
    case kPixels:
      settings.pixelsPerCluster = value;
      break;
    default:
      settings.strength = static_cast<uint8_t>(value);  // the low byte
      break;
  }
}

void ShowAll(HWND dialog, const Settings& settings) {
  for (int i = 0; i < kNumberCount; ++i) {
    const ScrolledNumber& number = kNumbers[i];
    const int32_t value = ValueOf(settings, i);
    frame::ShowNumber(dialog, number.textId, value, false);
    frame::InitScrollBar(dialog, number.barId, number.lowest, number.highest, value);
  }
}

// The index of the bar that sent WM_HSCROLL, or -1 for another control.
int FindBar(HWND dialog, LPARAM barHandle) {
  for (int i = 0; i < kNumberCount; ++i) {
    if (reinterpret_cast<LPARAM>(GetDlgItem(dialog, kNumbers[i].barId)) == barHandle) return i;
  }
  return -1;
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      if (settings.strength < kStrengthLowest || settings.strength > kStrengthHighest) {
        settings.strength = kRepairedStrength;
      }
      ShowAll(dialog, settings);
      return TRUE;
    case WM_HSCROLL: {
      const int index = FindBar(dialog, lParam);
      if (index < 0) return FALSE;
      const ScrolledNumber& number = kNumbers[index];
      Store(settings, index,
            frame::ScrolledValue(ValueOf(settings, index), wParam, number.lowest, number.highest,
                                 number.pageStep));
      const int32_t value = ValueOf(settings, index);
      frame::SetScrollBarPosition(dialog, number.barId, value);
      frame::ShowNumber(dialog, number.textId, value, false);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK) return FALSE;
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
}  // namespace jitternoise

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, jitternoise::CurrentSettings(), "DLGBOX", jitternoise::DialogProcedure);
}

}  // namespace frame
