// The message texts shared by several plug-ins.
#include "frame/messages.h"

namespace frame {

const char kMemoryMessage[] = "グローバルメモリーが確保できませんでした；＿；。";
const char kMemoryCaption[] = " ごめんなさい";
const char kNothingProcessedMessage[] = "処理できるピクセルがありませんでした（＾＾；。";

int ShowMessage(HWND owner, const char* text, const char* caption, UINT icon) {
  return MessageBoxA(owner, text, caption, icon);
}

void ShowMemoryMessage(HWND owner) {
  ShowMessage(owner, kMemoryMessage, kMemoryCaption, MB_ICONERROR);
}

void ShowNothingProcessed(HWND owner, const char* caption) {
  ShowMessage(owner, kNothingProcessedMessage, caption, MB_ICONINFORMATION);
}

}  // namespace frame
