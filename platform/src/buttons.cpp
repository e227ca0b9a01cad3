// Button controls: push buttons, check boxes (two- and three-state), radio
// buttons and group boxes. A click changes an automatic button's state the
// way the user's click would, then tells the parent with BN_CLICKED.
#include <algorithm>

#include "internal.h"

namespace vfwin {
namespace {

UINT ButtonType(const VfWindow* button) {
  return button->style & BS_TYPEMASK;
}

// The highest check state the button type can hold; 0 for buttons that hold
// none (push buttons, group boxes).
UINT HighestCheckState(const VfWindow* button) {
  switch (ButtonType(button)) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return BST_CHECKED;
    case BS_3STATE:
    case BS_AUTO3STATE:
      return 2;
    default:
      return 0;
  }
}

bool IsAutoRadioButton(const VfWindow* window) {
  return window->controlClass == ControlClass::Button && ButtonType(window) == BS_AUTORADIOBUTTON;
}

// A group runs from a control with WS_GROUP up to the next control with
// WS_GROUP, in z-order.
void UncheckOthersOfGroup(VfWindow* radio) {
  VfWindow* parent = LiveWindow(radio->parent);
  if (!parent) return;
  std::vector<VfWindow*> siblings = parent->children;
  auto at = std::find(siblings.begin(), siblings.end(), radio);
  if (at == siblings.end()) return;
  auto first = at;
  while (first != siblings.begin() && !((*first)->style & WS_GROUP)) --first;
  auto last = at + 1;
  while (last != siblings.end() && !((*last)->style & WS_GROUP)) ++last;
  for (auto sibling = first; sibling != last; ++sibling) {
    if (*sibling != radio && LiveWindow(*sibling) && IsAutoRadioButton(*sibling)) {
      Dispatch(*sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void Click(VfWindow* button) {
  switch (ButtonType(button)) {
    case BS_AUTOCHECKBOX:
      button->button.check = button->button.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case BS_AUTO3STATE:
      button->button.check = (button->button.check + 1) % 3;
      break;
    case BS_AUTORADIOBUTTON:
      button->button.check = BST_CHECKED;
      UncheckOthersOfGroup(button);
      break;
    default:
      break;
  }
  if (LiveWindow(button)) NotifyParent(button, BN_CLICKED);
}

}  // namespace

LRESULT ButtonMessage(VfWindow* button, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleTextMessage(button, message, wParam, lParam, &result)) return result;
  switch (message) {
    case BM_GETCHECK:
      return button->button.check;
    case BM_SETCHECK:
      button->button.check = std::min(static_cast<UINT>(wParam), HighestCheckState(button));
      return 0;
    case BM_GETSTATE:
      return button->button.check | button->button.highlight;
    case BM_SETSTATE:
      button->button.highlight = wParam ? 0x0004 : 0;  // BST_PUSHED
      return 0;
    case BM_CLICK:
      // A disabled button does not take the click.
      if (!(button->style & WS_DISABLED)) Click(button);
      return 0;
    default:
      return 0;
  }
}

}  // namespace vfwin
