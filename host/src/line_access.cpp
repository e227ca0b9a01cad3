// The line functions of the kind-10 tables. They are plain C functions, as a
// plug-in calls them, and reach the image of the running call through a
// thread-local pointer. A call whose row, columns, plane or buffer lie
// outside the image transfers only the part inside it, or nothing.
#include "vfhost/line_access.h"

#include <cstring>

namespace vfhost {

struct LineAccessSession::Storage {
  LayeredImage* target;        // written by the write table
  const LayeredImage* source;  // read by the read table
  LineCallCounts* counts;
};

namespace {

thread_local LineAccessSession::Storage* gStorage = nullptr;

// The part of the row's columns first..last inside the image, as a span of
// the buffer; false when nothing of the call lies inside.
struct Span {
  int32_t firstColumn = 0, count = 0, bufferOffset = 0;
};
bool InsideSpan(const LayeredImage& image, int32_t row, int32_t first, int32_t last, const void* buffer,
                Span& span) {
  if (!buffer || image.width <= 0 || row < 0 || row >= image.height || first > last || last < 0 ||
      first >= image.width)
    return false;
  const int32_t from = first < 0 ? 0 : first;
  const int32_t to = last >= image.width ? image.width - 1 : last;
  span.firstColumn = from;
  span.count = to - from + 1;
  span.bufferOffset = from - first;
  return true;
}

std::vector<uint8_t>* PlaneOf(LayeredImage& image, int32_t plane) {
  if (plane == frame::PLANE_MASK) return &image.mask;
  if (plane == frame::PLANE_ALPHA) return &image.alpha;
  return nullptr;
}

int32_t __cdecl ReadColourLine(int32_t row, int32_t first, int32_t last, void* buffer, int32_t /*reserved*/) {
  if (!gStorage) return 0;
  ++gStorage->counts->colourReads;
  const LayeredImage& image = *gStorage->source;
  Span span;
  if (!InsideSpan(image, row, first, last, buffer, span)) {
    ++gStorage->counts->ignored;
    return 0;
  }
  const size_t at = (static_cast<size_t>(row) * image.width + span.firstColumn) * 3;
  std::memcpy(static_cast<uint8_t*>(buffer) + static_cast<size_t>(span.bufferOffset) * 3, &image.colour[at],
              static_cast<size_t>(span.count) * 3);
  return 1;
}

int32_t __cdecl WriteColourLine(int32_t row, int32_t first, int32_t last, void* buffer,
                                int32_t /*reserved*/) {
  if (!gStorage) return 0;
  ++gStorage->counts->colourWrites;
  LayeredImage& image = *gStorage->target;
  Span span;
  if (!InsideSpan(image, row, first, last, buffer, span)) {
    ++gStorage->counts->ignored;
    return 0;
  }
  const size_t at = (static_cast<size_t>(row) * image.width + span.firstColumn) * 3;
  std::memcpy(&image.colour[at],
              static_cast<const uint8_t*>(buffer) + static_cast<size_t>(span.bufferOffset) * 3,
              static_cast<size_t>(span.count) * 3);
  return 1;
}

int32_t __cdecl ReadPlaneLine(int32_t row, int32_t first, int32_t last, void* buffer, int32_t /*reserved*/,
                              int32_t plane) {
  if (!gStorage) return 0;
  ++gStorage->counts->planeReads;
  const LayeredImage& image = *gStorage->source;
  const std::vector<uint8_t>* bytes = PlaneOf(const_cast<LayeredImage&>(image), plane);
  Span span;
  if (!bytes || !InsideSpan(image, row, first, last, buffer, span)) {
    ++gStorage->counts->ignored;
    return 0;
  }
  const size_t at = static_cast<size_t>(row) * image.width + span.firstColumn;
  std::memcpy(static_cast<uint8_t*>(buffer) + span.bufferOffset, &(*bytes)[at],
              static_cast<size_t>(span.count));
  return 1;
}

int32_t __cdecl WritePlaneLine(int32_t row, int32_t first, int32_t last, void* buffer, int32_t /*reserved*/,
                               int32_t plane) {
  if (!gStorage) return 0;
  ++gStorage->counts->planeWrites;
  LayeredImage& image = *gStorage->target;
  std::vector<uint8_t>* bytes = PlaneOf(image, plane);
  Span span;
  if (!bytes || !InsideSpan(image, row, first, last, buffer, span)) {
    ++gStorage->counts->ignored;
    return 0;
  }
  const size_t at = static_cast<size_t>(row) * image.width + span.firstColumn;
  std::memcpy(&(*bytes)[at], static_cast<const uint8_t*>(buffer) + span.bufferOffset,
              static_cast<size_t>(span.count));
  return 1;
}

const frame::LineAccessTable kWriteTable = {WriteColourLine, WritePlaneLine};
const frame::LineAccessTable kReadTable = {ReadColourLine, ReadPlaneLine};

// A layered image whose planes are shorter than its size says would let a
// line function run past them; such planes are completed (black, opaque, free).
void CompletePlanes(LayeredImage& image) {
  const size_t pixels = image.width > 0 && image.height > 0
                            ? static_cast<size_t>(image.width) * static_cast<size_t>(image.height)
                            : 0;
  if (image.colour.size() < pixels * 3) image.colour.resize(pixels * 3, 0);
  if (image.alpha.size() < pixels) image.alpha.resize(pixels, 255);
  if (image.mask.size() < pixels) image.mask.resize(pixels, 0);
}

}  // namespace

LineAccessSession::LineAccessSession(LayeredImage& image, bool sharedStorage)
    : size_{image.width, image.height}, storage_(new Storage), previous_(gStorage) {
  CompletePlanes(image);
  if (!sharedStorage) readCopy_ = image;
  *storage_ = Storage{&image, sharedStorage ? &image : &readCopy_, &counts_};
  gStorage = storage_;
}

LineAccessSession::~LineAccessSession() {
  gStorage = previous_;
  delete storage_;
}

const frame::LineAccessTable* LineAccessSession::writeTable() const {
  return &kWriteTable;
}
const frame::LineAccessTable* LineAccessSession::readTable() const {
  return &kReadTable;
}

}  // namespace vfhost
