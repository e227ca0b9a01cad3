// What a run asks of the world besides the image: the ESC key and the clock.
#pragma once

#include <cstdint>

namespace frame {

// True when the user asked to stop: GetAsyncKeyState(VK_ESCAPE) is non-zero
// (the key is down or was pressed since the previous query).
bool EscapeRequested();

// The current time in seconds, as the scatter filters seed their generator.
int64_t CurrentTimeSeconds();

}  // namespace frame
