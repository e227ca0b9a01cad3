// The records of the line-access interface (kind 10): the image size and the
// host's tables of line transfer functions, in the platform's C calling
// convention (on 32-bit Windows: arguments pushed last to first, removed by
// the caller).
#pragma once

#include <cstdint>

#include "frame/win_api.h"

namespace frame {

enum PlaneIndex : int32_t {
  PLANE_MASK = 0,
  PLANE_ALPHA = 1,
};

struct ImageSize {
  int32_t width;
  int32_t height;
};

// The plug-ins never look at what the line functions return.
typedef int32_t(__cdecl* ColorLineFunction)(int32_t row, int32_t first, int32_t last, void* buffer,
                                            int32_t reserved);
typedef int32_t(__cdecl* PlaneLineFunction)(int32_t row, int32_t first, int32_t last, void* buffer,
                                            int32_t reserved, int32_t plane);

struct LineAccessTable {
  ColorLineFunction ColorLine;
  PlaneLineFunction PlaneLine;
};

}  // namespace frame
