// clearback's passes over the colour, the alpha-work plane and the alpha plane.
#include "clearback_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/run_control.h"
#include "frame/working_block.h"

namespace clearback {

int32_t ReachFor(const Settings& settings) {
  return std::clamp(settings.range, kLeastRange, kGreatestRange) + 1;
}

namespace {
uint64_t TableSide(int32_t reach) {
  return 2 * static_cast<uint64_t>(reach) + 1;
}
}  // namespace

uint64_t Workspace::BytesFor(int32_t width, int32_t height, int32_t reach) {
  using frame::CheckedProduct;
  using frame::CheckedSum;
  const uint64_t w = static_cast<uint64_t>(width), h = static_cast<uint64_t>(height);
  const uint64_t plane = CheckedProduct(w, h);
  const uint64_t border = 2 * static_cast<uint64_t>(reach);
  uint64_t bytes = CheckedProduct(3, plane);                                     // colour image
  bytes = CheckedSum(bytes, CheckedProduct(4, w));                               // output and alpha lines
  bytes = CheckedSum(bytes, plane);                                              // saved mask
  bytes = CheckedSum(bytes, CheckedProduct(h + border, w + border));             // alpha-work plane
  return CheckedSum(bytes, CheckedProduct(TableSide(reach), TableSide(reach)));  // distance table
}

Workspace::Workspace(uint8_t* block, int32_t width, int32_t height, int32_t reach)
    : reach_(reach), workStride_(static_cast<std::size_t>(width) + 2 * reach) {
  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  workBytes_ = (h + 2 * reach) * workStride_;
  colourImage = block;
  outputLine = colourImage + 3 * w * h;
  alphaLine = outputLine + 3 * w;
  savedMask = alphaLine + w;
  alphaWork_ = savedMask + w * h;
  distanceTable = alphaWork_ + workBytes_;
}

void Workspace::FillWork(uint8_t value) {
  std::memset(alphaWork_, value, workBytes_);
}

void BuildDistanceTable(int32_t reach, uint8_t* table) {
  const int32_t side = 2 * reach + 1;
  for (int32_t j = -reach; j <= reach; ++j) {
    for (int32_t i = -reach; i <= reach; ++i) {
      const double distance = std::sqrt(static_cast<double>(i * i + j * j));
      const uint8_t value = distance > reach ? 255 : static_cast<uint8_t>(255.0 * distance / reach);
      table[(j + reach) * side + (i + reach)] = value;
    }
  }
}

void Unwhiten(const uint8_t* colour, uint8_t work, uint8_t* output, uint8_t* opacity) {
  const int32_t lightness = std::min({colour[0], colour[1], colour[2]});
  const int32_t alpha = 255 - ((255 - work) * lightness) / 255;
  *opacity = static_cast<uint8_t>(alpha);
  for (int channel = 0; channel < 3; ++channel) {
    // alpha >= 255 - lightness, so the operand is never negative and the
    // result never above 255.
    output[channel] = alpha > 0 ? static_cast<uint8_t>(((colour[channel] + alpha - 255) * 255) / alpha) : 255;
  }
}

namespace {

bool MatchesBackground(const uint8_t* pixel, const uint8_t* background) {
  return pixel[0] == background[0] && pixel[1] == background[1] && pixel[2] == background[2];
}

// Lowers the alpha-work plane to the table over the zone round (x, y); the
// border of R takes the part of the zone that lies outside the image.
void SpreadZone(Workspace& work, int32_t x, int32_t y) {
  const int32_t reach = work.reach();
  const uint8_t* tableRow = work.distanceTable;
  for (int32_t j = -reach; j <= reach; ++j, tableRow += 2 * reach + 1) {
    uint8_t* workRow = &work.Work(x - reach, y + j);
    for (int32_t k = 0; k <= 2 * reach; ++k) workRow[k] = std::min(workRow[k], tableRow[k]);
  }
}

// Pass 1: reads every colour row into the colour image and spreads the zones
// of its background pixels. Returns the rows read (fewer after an ESC).
int32_t SpreadBackgroundZones(const frame::LineAccess& lines, Workspace& work, const uint8_t* background,
                              HWND host) {
  const frame::PassProgress progress(host, 0, 65, lines.height());
  for (int32_t y = 0; y < lines.height(); ++y) {
    progress.BeforeRow(y);
    uint8_t* row = lines.ColorRow(work.colourImage, y);
    lines.ReadColor(y, row);
    for (int32_t x = 0; x < lines.width(); ++x)
      if (MatchesBackground(row + 3 * x, background)) SpreadZone(work, x, y);
    if (frame::EscapeRequested()) return y + 1;
  }
  return lines.height();
}

// Pass 2: a protected pixel keeps at least its mask as alpha-work, so that
// mask 255 leaves it alone and lesser masks weaken the change.
void ApplySavedMask(const frame::LineAccess& lines, Workspace& work, HWND host) {
  const frame::PassProgress progress(host, 65, 5, lines.height());
  for (int32_t y = 0; y < lines.height(); ++y) {
    progress.BeforeRow(y);
    const uint8_t* mask = lines.PlaneRow(work.savedMask, y);
    for (int32_t x = 0; x < lines.width(); ++x) work.Work(x, y) = std::max(work.Work(x, y), mask[x]);
    if (frame::EscapeRequested()) return;
  }
}

// Pass 3 over the rows that pass 1 read: rows it never reached hold no
// colour in the colour image and are left as they are.
void WriteUnwhitenedRows(const frame::LineAccess& lines, Workspace& work, int32_t rowsRead, HWND host) {
  const frame::PassProgress progress(host, 70, 30, lines.height());
  for (int32_t y = 0; y < rowsRead; ++y) {
    progress.BeforeRow(y);
    lines.ReadPlane(y, frame::PLANE_ALPHA, work.alphaLine);
    const uint8_t* colour = lines.ColorRow(work.colourImage, y);
    for (int32_t x = 0; x < lines.width(); ++x) {
      const uint8_t value = work.Work(x, y);
      if (value == 255) {
        std::memcpy(work.outputLine + 3 * x, colour + 3 * x, 3);
      } else {
        Unwhiten(colour + 3 * x, value, work.outputLine + 3 * x, work.alphaLine + x);
      }
    }
    lines.WriteColor(y, work.outputLine);
    lines.WritePlane(y, frame::PLANE_ALPHA, work.alphaLine);
    if (frame::EscapeRequested()) return;
  }
}

}  // namespace

void ClearBackground(const frame::LineAccess& lines, Workspace& work, int32_t corner, HWND host) {
  work.FillWork(255);
  lines.SaveAndClearMask(work.savedMask, work.alphaLine);
  BuildDistanceTable(work.reach(), work.distanceTable);

  lines.ReadColor(0, work.outputLine);
  uint8_t background[3];
  const int32_t backgroundColumn = corner != kUpperRight ? 0 : lines.width() - 1;
  std::memcpy(background, work.outputLine + 3 * backgroundColumn, 3);

  const int32_t rowsRead = SpreadBackgroundZones(lines, work, background, host);
  ApplySavedMask(lines, work, host);
  WriteUnwhitenedRows(lines, work, rowsRead, host);
  lines.RestoreMask(work.savedMask);
}

}  // namespace clearback
