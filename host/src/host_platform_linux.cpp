// The host core on Linux: plug-ins loaded with dlopen, and our platform
// layer's hooks answered from the running call.
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "call_hooks.h"
#include "host_platform.h"
#include "vfwin/vfwin_host.h"

// Offered by newer builds of the platform layer; without it an ended dialog
// is recognised by its refusing every message.
extern "C" BOOL VfDialogEnded(HWND dialog) __attribute__((weak));

namespace vfhost::detail {
namespace {

SHORT AnswerEscapeState(void*) {
  return EscapePollPressed() ? kKeyDownAndPressed : 0;
}

LRESULT HostWindowProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  NoteHostWindowMessage(message, wParam, lParam);
  return 0;
}

const VfHostHooks kHooks = {nullptr,           AnswerMessageBox, AnswerEscapeState,
                            DriveOpenedDialog, NoteDialogEnding, AnswerChooseColour};

}  // namespace

void* OpenLibrary(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    error = reason ? reason : "cannot load " + path;
  }
  return library;
}

void* LibrarySymbol(void* library, const char* name) {
  return dlsym(library, name);
}
void CloseLibrary(void* library) {
  dlclose(library);
}
const char* LibraryExtension() {
  return ".so";
}

std::string ExecutableDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  std::string executable(path, static_cast<size_t>(length));
  const size_t slash = executable.find_last_of('/');
  return slash == std::string::npos ? "." : executable.substr(0, slash);
}

HWND HostWindow() {
  static HWND window = VfCreateHostWindow(HostWindowProcedure);
  return window;
}

PlatformCall::PlatformCall(CallContext&, const RunOptions& options) {
  VfSetHostHooks(&kHooks);
  if (options.time)
    VfPinTime(*options.time);
  else
    VfUnpinTime();
  VfSetAllocationFailure(options.failAllocation);
  liveBefore_ = VfLiveAllocations();
}

PlatformCall::~PlatformCall() {
  VfSetAllocationFailure(0);
  VfUnpinTime();
  VfSetHostHooks(nullptr);
}

long PlatformCall::LeakedAllocations() const {
  return VfLiveAllocations() - liveBefore_;
}

bool DialogHasEnded(HWND dialog) {
  if (!IsWindow(dialog)) return true;
  if (VfDialogEnded) return VfDialogEnded(dialog) != FALSE;
  // Every plug-in dialog has a caption, so a live one reports its length.
  return SendMessageA(dialog, WM_GETTEXTLENGTH, 0, 0) == 0 && GetWindowTextLengthA(dialog) > 0;
}

}  // namespace vfhost::detail
