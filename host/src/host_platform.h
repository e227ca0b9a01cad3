// What the host core needs of the system it runs on: loading libraries, its
// own folder, the window that receives the progress messages, and the
// per-call set-up of the platform (hooks, clock, allocation failures).
#pragma once

#include <string>

#include "frame/win_api.h"
#include "vfhost/session.h"

namespace vfhost::detail {

class CallContext;

void* OpenLibrary(const std::string& path, std::string& error);
void* LibrarySymbol(void* library, const char* name);
void CloseLibrary(void* library);
const char* LibraryExtension();  // ".so" or ".dll"

// The folder of the running executable, without a trailing separator.
std::string ExecutableDirectory();

// The host's window: owner of the plug-ins' message boxes and dialogs,
// receiver of their progress messages, which go to CurrentCall().
HWND HostWindow();

// The platform set up for one call into a plug-in, undone when it ends.
class PlatformCall {
 public:
  PlatformCall(CallContext& call, const RunOptions& options);
  ~PlatformCall();
  PlatformCall(const PlatformCall&) = delete;
  PlatformCall& operator=(const PlatformCall&) = delete;
  // Blocks allocated during the call and not freed (native build; 0 elsewhere).
  long LeakedAllocations() const;

 private:
  long liveBefore_ = 0;
};

// Whether the dialog has ended (EndDialog) though its window still exists.
bool DialogHasEnded(HWND dialog);

}  // namespace vfhost::detail
