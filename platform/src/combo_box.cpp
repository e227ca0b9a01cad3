// Combo boxes: a list of code page 932 strings and a selection. A drop-down
// list shows the selected item as its text; the other styles keep the text
// of their edit field.
#include "internal.h"

namespace vfwin {
namespace {

bool IsDropDownList(const VfWindow* comboBox) {
  return (comboBox->style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
}

bool IsValidIndex(const ComboBoxState& state, WPARAM index) {
  return static_cast<intptr_t>(index) >= 0 && static_cast<size_t>(index) < state.items.size();
}

void ShowSelection(VfWindow* comboBox) {
  const ComboBoxState& state = comboBox->comboBox;
  comboBox->text = state.selection >= 0 ? state.items[static_cast<size_t>(state.selection)] : std::string();
}

LRESULT InsertItem(VfWindow* comboBox, intptr_t index, LPARAM lParam) {
  ComboBoxState& state = comboBox->comboBox;
  const char* text = reinterpret_cast<const char*>(lParam);
  if (!text) return CB_ERR;
  if (index < 0) index = static_cast<intptr_t>(state.items.size());
  if (static_cast<size_t>(index) > state.items.size()) return CB_ERR;
  state.items.insert(state.items.begin() + index, text);
  if (state.selection >= index) ++state.selection;
  return index;
}

LRESULT DeleteItem(VfWindow* comboBox, WPARAM index) {
  ComboBoxState& state = comboBox->comboBox;
  if (!IsValidIndex(state, index)) return CB_ERR;
  int deleted = static_cast<int>(index);
  state.items.erase(state.items.begin() + deleted);
  if (state.selection == deleted) {
    state.selection = CB_ERR;
  } else if (state.selection > deleted) {
    --state.selection;
  }
  if (IsDropDownList(comboBox)) ShowSelection(comboBox);
  return static_cast<LRESULT>(state.items.size());
}

}  // namespace

LRESULT ComboBoxMessage(VfWindow* comboBox, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboBoxState& state = comboBox->comboBox;
  if (message == WM_SETTEXT && IsDropDownList(comboBox)) return CB_ERR;
  LRESULT result = 0;
  if (IsDropDownList(comboBox)) ShowSelection(comboBox);
  if (HandleTextMessage(comboBox, message, wParam, lParam, &result)) return result;
  switch (message) {
    case CB_ADDSTRING:
      return InsertItem(comboBox, -1, lParam);
    case CB_INSERTSTRING:
      return InsertItem(comboBox, static_cast<intptr_t>(wParam), lParam);
    case CB_DELETESTRING:
      return DeleteItem(comboBox, wParam);
    case CB_RESETCONTENT:
      state.items.clear();
      state.selection = CB_ERR;
      if (IsDropDownList(comboBox)) ShowSelection(comboBox);
      return 0;
    case CB_GETCOUNT:
      return static_cast<LRESULT>(state.items.size());
    case CB_GETCURSEL:
      return state.selection;
    case CB_SETCURSEL:
      // An index outside the list clears the selection and reports CB_ERR.
      if (!IsValidIndex(state, wParam)) {
        state.selection = CB_ERR;
        if (IsDropDownList(comboBox)) ShowSelection(comboBox);
        return CB_ERR;
      }
      state.selection = static_cast<int>(wParam);
      ShowSelection(comboBox);
      return state.selection;
    case CB_GETLBTEXT: {
      if (!IsValidIndex(state, wParam) || !lParam) return CB_ERR;
      const std::string& item = state.items[wParam];
      char* buffer = reinterpret_cast<char*>(lParam);
      item.copy(buffer, item.size());
      buffer[item.size()] = '\0';
      return static_cast<LRESULT>(item.size());
    }
    case CB_GETLBTEXTLEN:
      return IsValidIndex(state, wParam) ? static_cast<LRESULT>(state.items[wParam].size()) : CB_ERR;
    case CB_GETEDITSEL: {
      if (IsDropDownList(comboBox)) return CB_ERR;
      DWORD end = static_cast<DWORD>(comboBox->text.size());
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = 0;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELONG(0, end);
    }
    default:
      return 0;
  }
}

}  // namespace vfwin
