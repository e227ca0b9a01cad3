// What the layer asks of the host: message boxes, the ESC key, the colour
// chooser (through the hooks), and the clock the plug-ins see.
#include <ctime>

#include "internal.h"

namespace vfwin {
namespace {

VfHostHooks hooks{};
bool timePinned = false;
int64_t pinnedSeconds = 0;

}  // namespace

const VfHostHooks& Hooks() {
  return hooks;
}

}  // namespace vfwin

extern "C" {

VFWIN_API void VfSetHostHooks(const VfHostHooks* newHooks) {
  vfwin::hooks = newHooks ? *newHooks : VfHostHooks{};
}

// Without a host to ask, the box is acknowledged at once.
VFWIN_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  const VfHostHooks& hooks = vfwin::Hooks();
  if (!hooks.message_box) return IDOK;
  return hooks.message_box(hooks.context, owner, text ? text : "", caption ? caption : "", type);
}

VFWIN_API SHORT GetAsyncKeyState(int key) {
  const VfHostHooks& hooks = vfwin::Hooks();
  if (key != VK_ESCAPE || !hooks.escape_state) return 0;
  return hooks.escape_state(hooks.context);
}

VFWIN_API BOOL ChooseColorA(LPCHOOSECOLORA request) {
  if (!request || request->lStructSize != sizeof(CHOOSECOLORA)) return FALSE;
  const VfHostHooks& hooks = vfwin::Hooks();
  if (!hooks.choose_colour) return FALSE;
  return hooks.choose_colour(hooks.context, request) ? TRUE : FALSE;
}

VFWIN_API void VfPinTime(int64_t seconds) {
  vfwin::timePinned = true;
  vfwin::pinnedSeconds = seconds;
}

VFWIN_API void VfUnpinTime(void) {
  vfwin::timePinned = false;
}

VFWIN_API int64_t VfCurrentTime(void) {
  return vfwin::timePinned ? vfwin::pinnedSeconds : static_cast<int64_t>(std::time(nullptr));
}

// Milliseconds since the system started, wrapping at 2^32 as the real count.
VFWIN_API DWORD GetTickCount(void) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                            static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

}  // extern "C"
