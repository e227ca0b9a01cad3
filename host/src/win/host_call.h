// vfhost on real Windows: the system set up for one call into a plug-in, the
// counterpart of what the Linux build asks of our platform layer. The
// plug-in's message boxes, ESC polls, dialogs and colour chooser reach the
// running call (CurrentCall()) through the hooks of win_hooks.h.
#pragma once

#ifdef _WIN32

namespace vfhost::detail {

void BeginWindowsCall();
void EndWindowsCall();

}  // namespace vfhost::detail

#endif  // _WIN32
