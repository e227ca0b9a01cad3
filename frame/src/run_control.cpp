// The ESC poll and the clock.
#include "frame/run_control.h"

#include <ctime>

#include "frame/win_api.h"
#ifndef _WIN32
#include "vfwin/vfwin_host.h"
#endif

namespace frame {

bool EscapeRequested() {
  return GetAsyncKeyState(VK_ESCAPE) != 0;
}

int64_t CurrentTimeSeconds() {
#ifdef _WIN32
  return static_cast<int64_t>(std::time(nullptr));
#else
  // The Linux host can pin the clock so that seeded runs repeat exactly.
  return VfCurrentTime();
#endif
}

}  // namespace frame
