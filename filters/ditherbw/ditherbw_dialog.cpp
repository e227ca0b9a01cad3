// ditherbw's settings dialog DLGBOX: the pattern list, the sixteen cells of
// the pattern shown (row 0 at the bottom), the entry of a user pattern by
// clicking the cells in the order of their thresholds, and "２倍".
#include "ditherbw_settings.h"
#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace ditherbw {
namespace {

enum ControlId {
  kPatternList = 1011,
  kFirstCell = 1012,  // 1012 + i shows byte i of the pattern, up to 1027
  kLastCell = kFirstCell + kPatternCells - 1,
  kEnterButton = 1028,
  kTwiceCheck = 1029,
};

const char kCellWaitingText[] = "押";

// What the dialog keeps while it is open: the table of all eight patterns
// (the user patterns taken from the record), the pattern shown, and a user
// pattern being entered.
struct DialogState {
  Pattern table[kPatternCount];
  int selection = 0;
  bool entering = false;
  Pattern entry = {};
  int nextThreshold = 0;       // 0 .. 16
  uint16_t assignedCells = 0;  // bit i: cell i has its threshold in this entry
};
DialogState state_of_dialog;

bool IsUserPattern(int index) {
  return index == kUserPatternA || index == kUserPatternB;
}

void EnableCells(HWND dialog, bool enable) {
  for (int id = kFirstCell; id <= kLastCell; ++id)
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

// Shows the selected pattern in the cells, which are then not clickable;
// "←変更" is offered for the user patterns only. Ends any entry.
void ShowSelection(HWND dialog, DialogState& state) {
  const Pattern& shown = state.table[state.selection];
  for (int i = 0; i < kPatternCells; ++i) SetDlgItemInt(dialog, kFirstCell + i, shown.cells[i], FALSE);
  EnableCells(dialog, false);
  EnableWindow(GetDlgItem(dialog, kEnterButton), IsUserPattern(state.selection) ? TRUE : FALSE);
  state.entering = false;
  state.nextThreshold = 0;
}

// The list's selection, or fallback when it has none.
int ListedPattern(HWND dialog, int fallback) {
  const LRESULT index = SendDlgItemMessageA(dialog, kPatternList, CB_GETCURSEL, 0, 0);
  return index >= 0 && index < kPatternCount ? static_cast<int>(index) : fallback;
}

void Initialise(HWND dialog, const Settings& settings, DialogState& state) {
  for (int i = 0; i < kBuiltInPatterns; ++i) state.table[i] = kBuiltInPattern[i];
  state.table[kUserPatternA] = settings.userA;
  state.table[kUserPatternB] = settings.userB;
  // A record naming no pattern of the list shows the first.
  state.selection = settings.chosen < kPatternCount ? settings.chosen : 0;
  for (int i = 0; i < kPatternCount; ++i) {
    SendDlgItemMessageA(dialog, kPatternList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kPatternName[i]));
  }
  SendDlgItemMessageA(dialog, kPatternList, CB_SETCURSEL, static_cast<WPARAM>(state.selection), 0);
  ShowSelection(dialog, state);
  CheckDlgButton(dialog, kTwiceCheck, settings.twice != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void StartEntry(HWND dialog, DialogState& state) {
  if (!IsUserPattern(state.selection)) return;
  state.entry = Pattern{};
  state.entering = true;
  state.nextThreshold = 0;
  state.assignedCells = 0;
  for (int id = kFirstCell; id <= kLastCell; ++id) SetDlgItemTextA(dialog, id, kCellWaitingText);
  EnableCells(dialog, true);
}

// The cell clicked gets the next threshold; the sixteenth click makes the
// entry the user pattern, in the table and in the record.
void AssignCell(HWND dialog, int cell, Settings& settings, DialogState& state) {
  const uint16_t bit = static_cast<uint16_t>(1u << cell);
  if (!state.entering || (state.assignedCells & bit) != 0) return;
  state.assignedCells |= bit;
  SetDlgItemInt(dialog, kFirstCell + cell, static_cast<UINT>(state.nextThreshold), FALSE);
  state.entry.cells[cell] = static_cast<uint8_t>(state.nextThreshold);
  ++state.nextThreshold;
  EnableWindow(GetDlgItem(dialog, kFirstCell + cell), FALSE);
  if (state.nextThreshold < kPatternCells) return;
  state.entering = false;
  state.table[state.selection] = state.entry;
  (state.selection == kUserPatternA ? settings.userA : settings.userB) = state.entry;
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  DialogState& state = state_of_dialog;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog, settings, state);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kPatternList) {
        state.selection = ListedPattern(dialog, state.selection);
        ShowSelection(dialog, state);
        return TRUE;
      }
      if (wParam == kEnterButton) {
        StartEntry(dialog, state);
        return TRUE;
      }
      if (wParam >= kFirstCell && wParam <= kLastCell) {
        AssignCell(dialog, static_cast<int>(wParam - kFirstCell), settings, state);
        return TRUE;
      }
      if (wParam == IDOK) {
        settings.chosen = static_cast<uint8_t>(ListedPattern(dialog, state.selection));
        settings.inUse = state.table[settings.chosen];
        settings.twice = frame::CheckState(dialog, kTwiceCheck);
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
}  // namespace ditherbw

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, ditherbw::CurrentSettings(), "DLGBOX", ditherbw::DialogProcedure);
}

}  // namespace frame
