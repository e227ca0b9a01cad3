// spinblur: "円周ぼかし", kind 0. Blurs along the circles round a centre
// point, as a turn: its title, its signed file "spinblur.dat" (signature
// "spnblr"), its dialog CSMS_DLG and the direction of its lines.
#include "frame/host_interface.h"
#include "spinblur_filter.h"

namespace spinblur {

bool TangentDirection(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                      blur::LineDirection* line) {
  // The vector from the pixel to the centre is dx columns and -dy rows; the
  // line runs along dy columns and dx rows.
  const int64_t dx = int64_t{settings.centerX} - x;
  const int64_t dy = int64_t{settings.centerY} + y - height + 1;
  const int64_t absDx = dx < 0 ? -dx : dx;
  const int64_t absDy = dy < 0 ? -dy : dy;
  int64_t steepness = absDy;
  int64_t rowStep = dy;
  // (100 |dy|) / |dx| in 96 .. 104, without the division: the quotient is
  // at least 96 when 100 |dy| >= 96 |dx| and at most 104 when
  // 100 |dy| < 105 |dx|.
  if (absDx != 0 && 100 * absDy >= 96 * absDx && 100 * absDy < 105 * absDx) {
    rowStep = dx * dy > 0 ? dx : -dx;  // dy's sign, dx's size
    steepness = rowStep;
  }
  if (steepness > absDx) {
    *line = {true, -1, -dx, rowStep};  // -k columns, -(k dx) / dy rows
    return true;
  }
  if (dx == 0) return false;          // the centre pixel
  *line = {false, -1, -rowStep, dx};  // -k rows, -(k dy) / dx columns
  return true;
}

}  // namespace spinblur

namespace frame {
const char kPluginTitle[] = "円周ぼかし";
}  // namespace frame

namespace blur {
const LineBlurPlugin kLineBlurPlugin = {
    {"spinblur", "spnblr", kLineBlurFields, 3, sizeof(LineBlurSettings), "spinblur", "smoothold"},
    "CSMS_DLG",
    spinblur::TangentLine,
    spinblur::TangentDirection,
};
}  // namespace blur
