// Message boxes and the texts several plug-ins share.
#pragma once

#include "frame/win_api.h"

namespace frame {

extern const char kMemoryMessage[];
extern const char kMemoryCaption[];
extern const char kNothingProcessedMessage[];

int ShowMessage(HWND owner, const char* text, const char* caption, UINT icon);
// The working memory could not be had.
void ShowMemoryMessage(HWND owner);
// The filter processed no pixel; caption is the plug-in's own.
void ShowNothingProcessed(HWND owner, const char* caption);

// A one-time notice: shown when the flag still holds its pending value, which
// is then replaced by shownValue. Returns true when it was shown.
template <typename Flag>
bool ShowNoticeOnce(HWND owner, Flag& flag, Flag pendingValue, Flag shownValue, const char* text,
                    const char* caption, UINT icon) {
  if (flag != pendingValue) return false;
  ShowMessage(owner, text, caption, icon);
  flag = shownValue;
  return true;
}

}  // namespace frame
