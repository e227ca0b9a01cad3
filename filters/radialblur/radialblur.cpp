// radialblur: "放射ぼかし", kind 0. Blurs along the lines through a centre
// point, as a zoom: its title, its signed file "radialblur.dat" (signature
// "rdlblr"), its dialog RSMS_DLG and the direction of its lines.
#include "frame/host_interface.h"
#include "radialblur_filter.h"

namespace radialblur {

bool RadialDirection(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                     blur::LineDirection* line) {
  // The vector from the pixel to the centre is dx columns and -dy rows.
  const int64_t dx = int64_t{settings.centerX} - x;
  const int64_t dy = int64_t{settings.centerY} + y - height;
  if (dx * dx > dy * dy) {
    *line = {true, 1, -dy, dx};  // k columns, -(k dy) / dx rows
    return true;
  }
  if (dy == 0) return false;    // the centre pixel
  *line = {false, -1, dx, dy};  // -k rows, (k dx) / dy columns
  return true;
}

}  // namespace radialblur

namespace frame {
const char kPluginTitle[] = "放射ぼかし";
}  // namespace frame

namespace blur {
const LineBlurPlugin kLineBlurPlugin = {
    {"radialblur", "rdlblr", kLineBlurFields, 3, sizeof(LineBlurSettings), "radialblur", "smoothold"},
    "RSMS_DLG",
    radialblur::RadialLine,
    radialblur::RadialDirection,
};
}  // namespace blur
