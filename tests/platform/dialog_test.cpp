// The modal dialog's life: WM_INITDIALOG, the host's turn, the close box when
// the host leaves the dialog open, the result of EndDialog, and the host
// window, message boxes, ESC and colour chooser that the hooks stand for.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace {

using vfwin_test::DialogRun;
using vfwin_test::RegisterScript;
using vfwin_test::RunDialog;

const char kScript[] =
    "SMALL DIALOG 0, 0, 100, 50\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
    "CAPTION \"Small\"\n"
    "BEGIN\n"
    "  EDITTEXT 1001, 2, 2, 30, 12\n"
    "  DEFPUSHBUTTON \"OK\", IDOK, 60, 30, 30, 14\n"
    "END\n";

// A procedure in the manner of the plug-ins: OK ends with okResult, the close
// box with closeResult, nothing else is handled.
DialogRun PluginLikeRun(INT_PTR okResult, INT_PTR closeResult) {
  DialogRun run;
  run.procedure = [=](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      SetDlgItemTextA(dialog, 1001, "initial");
      return TRUE;
    }
    if (message == WM_COMMAND && wParam == IDOK) return EndDialog(dialog, okResult);
    if (message == WM_SYSCOMMAND && wParam == SC_CLOSE) return EndDialog(dialog, closeResult);
    return FALSE;
  };
  return run;
}

TEST(Dialog, OkEndsWithTheProceduresResultAndLaterMessagesAreNotDelivered) {
  HINSTANCE module = RegisterScript(kScript);
  DialogRun run = PluginLikeRun(7, 0);
  size_t messagesAtEnd = 0;
  run.opened = [&](HWND dialog) {
    EXPECT_EQ(run.log.front().message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_FALSE(VfDialogEnded(dialog));
    SetDlgItemTextA(dialog, 1001, "typed");
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    messagesAtEnd = run.log.size();
    EXPECT_TRUE(VfDialogEnded(dialog));
    EXPECT_EQ(SendMessageA(dialog, WM_USER, 0, 0), 0);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
  };
  run.ending = [](HWND dialog, INT_PTR result) {
    EXPECT_EQ(result, 7);
    EXPECT_EQ(vfwin_test::WindowText(GetDlgItem(dialog, 1001)), "typed") << "controls still readable";
  };
  EXPECT_EQ(RunDialog(module, "SMALL", run, 1234), 7);
  EXPECT_EQ(run.log.size(), messagesAtEnd) << "message delivered after EndDialog";
  EXPECT_EQ(run.log.front().lParam, 1234);
  EXPECT_EQ(run.Count(WM_SYSCOMMAND), 0) << "an ended dialog is not closed again";
  EXPECT_TRUE(run.endingCalled);
}

// What ends a dialog that the host leaves open, for procedures that handle
// the close box, that handle only Cancel, that handle nothing, or that end
// the dialog already in WM_INITDIALOG.
TEST(Dialog, DialogLeftOpenIsClosedAsByTheCloseBox) {
  HINSTANCE module = RegisterScript(kScript);

  DialogRun closing = PluginLikeRun(1, 5);
  EXPECT_EQ(RunDialog(module, "SMALL", closing), 5);
  EXPECT_TRUE(closing.openedCalled);
  EXPECT_EQ(closing.Count(WM_SYSCOMMAND), 1);

  // Unhandled, the close box becomes WM_CLOSE and then the Cancel command.
  DialogRun cancelling;
  cancelling.procedure = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    return message == WM_COMMAND && wParam == MAKEWPARAM(IDCANCEL, BN_CLICKED) ? EndDialog(dialog, 9) : FALSE;
  };
  EXPECT_EQ(RunDialog(module, "SMALL", cancelling), 9);
  EXPECT_EQ(cancelling.Count(WM_CLOSE), 1);

  DialogRun ignoring;
  EXPECT_EQ(RunDialog(module, "SMALL", ignoring), 0);
  EXPECT_EQ(ignoring.Count(WM_SYSCOMMAND), 1);
  EXPECT_TRUE(ignoring.endingCalled);

  DialogRun endingAtOnce;
  endingAtOnce.procedure = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    return message == WM_INITDIALOG ? EndDialog(dialog, 3) : FALSE;
  };
  EXPECT_EQ(RunDialog(module, "SMALL", endingAtOnce), 3);
  EXPECT_FALSE(endingAtOnce.openedCalled);
  EXPECT_TRUE(endingAtOnce.endingCalled);
  EXPECT_EQ(endingAtOnce.log.size(), 1u) << "nothing after WM_INITDIALOG";
}

INT_PTR ClosingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_SYSCOMMAND && wParam == SC_CLOSE) EndDialog(dialog, 11);
  return message == WM_INITDIALOG;
}

TEST(Dialog, WithoutHooksTheDialogIsClosedAndDestroyed) {
  HINSTANCE module = RegisterScript(kScript);
  VfSetHostHooks(nullptr);
  EXPECT_EQ(DialogBoxParamA(module, "SMALL", nullptr, ClosingProcedure, 0), 11);
  EXPECT_EQ(DialogBoxParamA(nullptr, "SMALL", nullptr, ClosingProcedure, 0), -1) << "no module";
}

TEST(Dialog, DialogIsDestroyedWithItsControlsAfterItEnds) {
  HINSTANCE module = RegisterScript(kScript);
  DialogRun run;
  HWND seenDialog = nullptr;
  HWND seenEdit = nullptr;
  run.opened = [&](HWND dialog) {
    seenDialog = dialog;
    seenEdit = GetDlgItem(dialog, 1001);
    EXPECT_TRUE(IsWindow(seenEdit));
    std::vector<HWND> children;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
          return FALSE;  // the first one is enough
        },
        reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, std::vector<HWND>{seenEdit});
  };
  RunDialog(module, "SMALL", run);
  EXPECT_FALSE(IsWindow(seenDialog));
  EXPECT_FALSE(IsWindow(seenEdit));
  EXPECT_EQ(SendMessageA(seenEdit, WM_GETTEXTLENGTH, 0, 0), 0) << "a stale handle is refused";
}

TEST(Dialog, OwnerIsTheHostWindowWhoseProcedureGetsTheMessagesSentToIt) {
  struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  static std::vector<Received> received;
  received.clear();
  HWND host = VfCreateHostWindow([](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    received.push_back({message, wParam, lParam});
    return 77;
  });
  EXPECT_EQ(SendMessageA(host, WM_USER, 3, 50), 77);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].wParam, 3u);
  EXPECT_EQ(received[0].lParam, 50);

  HINSTANCE module = RegisterScript(kScript);
  VfSetHostHooks(nullptr);
  static HWND ownerSeen = nullptr;
  DialogBoxParamA(
      module, "SMALL", host,
      [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) ownerSeen = GetWindow(dialog, GW_OWNER);
        return FALSE;
      },
      0);
  EXPECT_EQ(ownerSeen, host);
  EXPECT_TRUE(DestroyWindow(host));
  EXPECT_FALSE(IsWindow(host));
}

struct HookLog {
  std::vector<std::string> boxes;
  int escapePolls = 0;
  HWND owner = nullptr;
};

TEST(Hooks, MessageBoxesEscAndColourChooserAskTheHost) {
  VfSetHostHooks(nullptr);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  CHOOSECOLORA request{};
  request.lStructSize = sizeof request;
  EXPECT_FALSE(ChooseColorA(&request)) << "without a host the chooser is cancelled";

  HookLog log;
  VfHostHooks hooks{};
  hooks.context = &log;
  hooks.message_box = [](void* context, HWND owner, const char* text, const char* caption, UINT type) {
    auto* hookLog = static_cast<HookLog*>(context);
    hookLog->boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(type));
    hookLog->owner = owner;
    return IDCANCEL;
  };
  hooks.escape_state = [](void* context) -> SHORT {
    return ++static_cast<HookLog*>(context)->escapePolls >= 2 ? static_cast<SHORT>(0x8001) : 0;
  };
  hooks.choose_colour = [](void*, LPCHOOSECOLORA chosen) -> BOOL {
    chosen->rgbResult = RGB(1, 2, 3);
    return TRUE;
  };
  VfSetHostHooks(&hooks);
  HWND host = VfCreateHostWindow(nullptr);
  EXPECT_EQ(MessageBoxA(host, "\x83\x5C", " caption", MB_ICONERROR), IDCANCEL);
  EXPECT_EQ(log.boxes.at(0), " caption|\x83\x5C|" + std::to_string(MB_ICONERROR));
  EXPECT_EQ(log.owner, host);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE), 0);
  EXPECT_EQ(GetAsyncKeyState('A'), 0) << "only ESC is asked for";
  EXPECT_EQ(log.escapePolls, 2);
  EXPECT_TRUE(ChooseColorA(&request));
  EXPECT_EQ(request.rgbResult, RGB(1, 2, 3));
  request.lStructSize = 36;  // the size of another platform's record
  EXPECT_FALSE(ChooseColorA(&request));
  VfSetHostHooks(nullptr);
  DestroyWindow(host);
}

TEST(Time, PinnedTimeIsWhatThePlugInsSee) {
  VfPinTime(1234567890);
  EXPECT_EQ(VfCurrentTime(), 1234567890);
  VfUnpinTime();
  EXPECT_GT(VfCurrentTime(), 1600000000);
}

}  // namespace
